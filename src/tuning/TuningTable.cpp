#include "tuning/TuningTable.h"

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
  if (target.count >= kTuningTableCapacity) return false;
  const std::size_t size = std::strlen(name) + 1;
  char* copy = static_cast<char*>(std::malloc(size));
  if (!copy) return false;
  std::memcpy(copy, name, size);
  TuningEntry& entry = target.entries[target.count];
  entry.type = type;
  entry.address = address;
  entry.name = copy;
  target.count += 1;
  return true;
}

bool registerTuning(const char* name, int type, void* address) {
  return registerTuning(table, name, type, address);
}

void registerAllTuning() {
  if (registered) return;
  registered = true;
  for (const BuiltInTuning& tuning : kBuiltInTuning) registerTuning(tuning.name, tuning.type, tuning.address);
}
