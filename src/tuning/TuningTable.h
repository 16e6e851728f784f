#pragma once

#include "tuning/Tuning.h"

// The named variables the tuning file may set. Rows are only ever added, and
// their names live for the whole process.
struct TuningEntry {
  int type = TuneFloat;     // a TuneType
  void* address = nullptr;  // not owned
  char* name = nullptr;     // owned, NUL-terminated copy of the key
  // A number read for the row is clamped into these (bools have none).
  double lowest = 0.0;
  double highest = 0.0;
};

constexpr int kTuningTableCapacity = 256;

struct TuningTable {
  TuningEntry entries[kTuningTableCapacity];
  int count = 0;
};

// The process-wide table that the tuning file is read against.
TuningTable& tuningTable();

// Adds a row holding a copy of name. A full table, or a copy that cannot be
// allocated, drops the row; the result says whether it was added. Without
// bounds, a row takes any finite number its type holds.
bool registerTuning(TuningTable& table, const char* name, int type, void* address);
bool registerTuning(TuningTable& table, const char* name, int type, void* address, double lowest,
                    double highest);

// Registers every built-in tuning variable once per process.
void registerAllTuning();
