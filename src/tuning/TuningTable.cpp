#include "tuning/TuningTable.h"

#include <cfloat>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {
TuningTable table;
bool registered = false;
}  // namespace

TuningTable& tuningTable() {
  return table;
}

bool registerTuning(TuningTable& target, const char* name, int type, void* address) {
  if (type == TuneInt) return registerTuning(target, name, type, address, INT_MIN, INT_MAX);
  return registerTuning(target, name, type, address, -FLT_MAX, FLT_MAX);
}

bool registerTuning(TuningTable& target, const char* name, int type, void* address, double lowest,
                    double highest) {
  if (target.count >= kTuningTableCapacity) return false;
  const std::size_t size = std::strlen(name) + 1;
  char* copy = static_cast<char*>(std::malloc(size));
  if (!copy) return false;
  std::memcpy(copy, name, size);
  TuningEntry& entry = target.entries[target.count];
  entry.type = type;
  entry.address = address;
  entry.name = copy;
  entry.lowest = lowest;
  entry.highest = highest;
  target.count += 1;
  return true;
}

void registerAllTuning() {
  if (registered) return;
  registered = true;
  for (const BuiltInTuning& t : kBuiltInTuning) {
    registerTuning(table, t.name, t.type, t.address, t.lowest, t.highest);
  }
}
