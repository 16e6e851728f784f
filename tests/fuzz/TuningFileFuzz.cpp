// Any bytes as a tuning file: against the game's table, and against a table
// whose rows share names across the three types.

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "tuning/Tuning.h"
#include "tuning/TuningFile.h"
#include "tuning/TuningTable.h"

namespace {

struct Values {
  float floats[kBuiltInTuningCount];
  int ints[kBuiltInTuningCount];
};

Values builtInValues() {
  Values v{};
  for (int i = 0; i < kBuiltInTuningCount; ++i) {
    const BuiltInTuning& t = kBuiltInTuning[i];
    if (t.type == TuneFloat) {
      v.floats[i] = *static_cast<float*>(t.address);
    } else {
      v.ints[i] = *static_cast<int*>(t.address);
    }
  }
  return v;
}

bool same(const Values& a, const Values& b) {
  // Bitwise, so that a nan slipping through would also show as a change.
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Names of the game's table typed differently, and a duplicate.
bool flagRow = false;
int intRow = 0;
float floatRow = 0.0f;
float twinRow = 0.0f;
TuningTable& mixedTable() {
  static TuningTable table;
  static const bool built = [] {
    registerTuning(table, "kPeepCost", TuneBool, &flagRow);
    registerTuning(table, "kStartWithMoney", TuneInt, &intRow);
    registerTuning(table, "kStartWithAgents", TuneFloat, &floatRow);
    registerTuning(table, "kStartWithAgents", TuneFloat, &twinRow);
    return true;
  }();
  (void)built;
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* path = fuzz::writeScratch(data, size);

  // The table's own reader, which returns what it clamped instead of
  // printing it for every input.
  registerAllTuning();
  restoreBuiltInTuning();
  readTuningFile(path, tuningTable());
  const Values once = builtInValues();
  for (int i = 0; i < kBuiltInTuningCount; ++i) {
    const BuiltInTuning& t = kBuiltInTuning[i];
    const float value = t.type == TuneFloat ? once.floats[i] : static_cast<float>(once.ints[i]);
    FUZZ_CHECK(value >= t.lowest && value <= t.highest);
  }
  // Later lines win, so a second read of the same file changes nothing.
  readTuningFile(path, tuningTable());
  FUZZ_CHECK(same(once, builtInValues()));
  FUZZ_CHECK(tuningTable().count == kBuiltInTuningCount);

  flagRow = false;
  intRow = 0;
  floatRow = twinRow = 0.0f;
  readTuningFile(path, mixedTable());
  FUZZ_CHECK(std::isfinite(floatRow));
  // Every row of a name gets the value, not just the first.
  FUZZ_CHECK(std::memcmp(&floatRow, &twinRow, sizeof floatRow) == 0);
  return 0;
}
