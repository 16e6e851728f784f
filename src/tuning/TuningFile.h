#pragma once

#include "tuning/TuningTable.h"

// Both relative to the working directory.
extern const char* kTuningFileName;       // "Verlomba.ini", read at start and on reload
extern const char* kSavedTuningFileName;  // "Verlomba-saved.ini", written on "Save Tuning"

// Overrides tuning variables from a text file of "key = value" lines. "#" and
// "/" start comments and "[" starts a section header; unknown keys, values
// that do not parse and a missing file all leave the variables as they are.
void readTuningFile(const char* path);
// The same against any table; the process table is not registered by this.
void readTuningFile(const char* path, const TuningTable& table);

// Writes a template of the built-in values (not the ones in force), in
// sections, which readTuningFile reads back unchanged. Fails silently.
void writeTuningFile(const char* path);
