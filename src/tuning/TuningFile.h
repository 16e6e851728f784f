#pragma once

#include <string>
#include <vector>

#include "files/SaveFileAtomically.h"
#include "tuning/TuningTable.h"

// Both relative to the working directory.
extern const char* kTuningFileName;       // "Verlomba.ini", read at start and on reload
extern const char* kSavedTuningFileName;  // "Verlomba-saved.ini", written on "Save Tuning"

// Overrides tuning variables from a text file of "key = value" lines. "#" and
// "/" start comments and "[" starts a section header; unknown keys, values
// that do not parse and a missing file all leave the variables as they are.
// Only a regular file of at most 64 KiB is read; anything else counts as
// missing and is reported on standard error. A number outside its variable's
// bounds is clamped to the nearer bound, and each one is reported there too.
void readTuningFile(const char* path);
// The same against any table, without registering the process table. The
// file's own problems go to standard error; the values clamped are returned,
// one line each, for the caller to report.
std::vector<std::string> readTuningFile(const char* path, const TuningTable& table);

// Writes a template of the built-in values (not the ones in force), in
// sections, which readTuningFile reads back unchanged. The old file stays
// whole until the new one is complete; a failure is reported on standard
// error and returned.
SaveResult writeTuningFile(const char* path);
