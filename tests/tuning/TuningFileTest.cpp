#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "tuning/Tuning.h"
#include "tuning/TuningFile.h"
#include "tuning/TuningTable.h"

namespace {

class TuningFileTest : public ::testing::Test {
 protected:
  void TearDown() override { restoreBuiltInTuning(); }

  // Reads contents as a tuning file into table, with the built-in variables
  // at their built-in values first; returns what the reader clamped or refused.
  std::vector<std::string> readText(const std::string& contents, const TuningTable& table = tuningTable()) {
    registerAllTuning();
    restoreBuiltInTuning();
    dir_.write(kTuningFileName, contents);
    return readTuningFile(kTuningFileName, table);
  }

  ScopedWorkingDirectory dir_;
};

float valueOf(const BuiltInTuning& t) {
  return t.type == TuneFloat ? *static_cast<float*>(t.address) : *static_cast<int*>(t.address);
}

// Every variable holds its built-in value but those given in changed.
void expectBuiltInsBut(const std::map<std::string, float>& changed = {}) {
  for (const BuiltInTuning& t : kBuiltInTuning) {
    const auto it = changed.find(t.name);
    const float builtIn = t.type == TuneFloat ? t.floatValue : t.intValue;
    EXPECT_EQ(valueOf(t), it == changed.end() ? builtIn : it->second) << t.name;
  }
}

TEST_F(TuningFileTest, LineQuirks) {
  readText(
      "kStartWithMoney = 0.5 # half a bar\n"
      "kpeepcost = 0.5\nKPEEPCOST = 0.5\nkPeepCostly = 0.5\nkPeepCost=0.5\n"  // exact, whole-word keys only
      "kStartWithAgents = 12.7\n"
      "\t  kFountainRadius =30\nkGuardTowerRadius\t=\t2.5e1\nkAutosaveMinutes = 0.05\n"
      // No "=", a value that does not parse, a commented-out line, an "="
      // only after "#", "/" or "[", no value: all leave the variable alone.
      "kWorkBuildingCapacity 7\nkSleepBuildingCapacity = many\n#kStartWithTrees = 3\n"
      "kMilitaryBuildingCost # = 0.5\nkTreeCost / = 0.5\nkWorkBuildingPayout [ = 0.5\n"
      "kCapitalBuildingCost =\nkSleepBuildingCost = 0.3\nkSleepBuildingCost = 0.4");  // later lines win
  expectBuiltInsBut({{"kStartWithMoney", 0.5f},
                     {"kStartWithAgents", 12.0f},
                     {"kFountainRadius", 30.0f},
                     {"kGuardTowerRadius", 25.0f},
                     {"kAutosaveMinutes", 0.05f},
                     {"kSleepBuildingCost", 0.4f}});
}

TEST_F(TuningFileTest, HostileFiles) {
  // Over 64 KiB: not even its first lines count.
  readText("kPeepCost = 0.5\n" + std::string(64 * 1024, '#'));
  expectBuiltInsBut();

  // Text after a NUL is not seen, and the lines after it still count.
  readText(std::string("kTreeCost\0 = 0.7\n", 17) + "\001\377\nkPeepCost = 0.3\n");
  expectBuiltInsBut({{"kPeepCost", 0.3f}});

  // 5,000-character lines: one word, one huge number (a payout's most is 1),
  // and one whose piece boundary (after 1,023 characters) lands on a key,
  // which then counts.
  const std::string word(5000, 'k');
  const std::string huge = "kWorkBuildingPayout = " + std::string(4978, '9');
  const std::string split = std::string(1023, 'x') + "kStartWithMoney = 0.75" + std::string(3955, ' ');
  readText(word + "\n" + huge + "\n" + split + "\n");
  expectBuiltInsBut({{"kWorkBuildingPayout", 1.0f}, {"kStartWithMoney", 0.75f}});
}

TEST_F(TuningFileTest, NumbersOutOfBoundsAreClampedAndReportedOnce) {
  // Far below and far above every bound, in the forms a player might write.
  for (const char* number : {"-3e38", "-99999999999", "3e38", "1e999", "99999999999.5"}) {
    std::string text;
    for (const BuiltInTuning& t : kBuiltInTuning) text += std::string(t.name) + " = " + number + "\n";
    const std::size_t said = readText(text).size();
    std::size_t clamped = 0;
    for (const BuiltInTuning& t : kBuiltInTuning) {
      // "%d" reads the digits before a point or an "e": 3e38 is 3, 1e999 is 1.
      const bool digitFits = t.type == TuneInt && number[0] != '-' && number[0] != '9';
      const float expected = digitFits ? number[0] - '0' : number[0] == '-' ? t.lowest : t.highest;
      clamped += !digitFits;
      EXPECT_EQ(valueOf(t), expected) << t.name << " = " << number;
    }
    EXPECT_EQ(said, clamped) << number;
  }

  // At a bound nothing is said; not a number is refused. The game's reader
  // says each once on standard error, naming the file.
  restoreBuiltInTuning();
  dir_.write(kTuningFileName,
             "kFountainRadius = 32\nkStartWithAgents = 0\nkPeepCost = nan\nkTreeCost = -infinity\n");
  testing::internal::CaptureStderr();
  readTuningFile(kTuningFileName);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "verlomba: Verlomba.ini: kPeepCost = nan is not a number; ignored\n"
            "verlomba: Verlomba.ini: kTreeCost = -infinity is out of bounds (0 to 1); using 0\n");
  expectBuiltInsBut({{"kFountainRadius", 32.0f}, {"kStartWithAgents", 0.0f}, {"kTreeCost", 0.0f}});
}

TEST_F(TuningFileTest, SavedAndShippedFilesHoldEveryBuiltInValue) {
  std::string sevens;
  for (const BuiltInTuning& tuning : kBuiltInTuning) sevens += std::string(tuning.name) + " = 7\n";
  readText(sevens);
  ASSERT_EQ(kGuardTowerRadius, 7.0f);

  // Values in force do not leak into the saved file, which keeps the layout
  // players edit and reads back as every built-in.
  EXPECT_TRUE(writeTuningFile(kSavedTuningFileName).saved);
  EXPECT_EQ(
      dir_.read(kSavedTuningFileName),
      "\n\n[ Cost of things ]\n"
      "kPeepCost = 0.050000\nkTreeCost = 0.010000\nkSleepBuildingCost = 0.100000\n"
      "kWorkBuildingCost = 0.100000\nkCapitalBuildingCost = 0.100000\nkMilitaryBuildingCost = 0.100000\n"
      "\n\n[ Payouts ]\nkWorkBuildingPayout = 0.050000\n"
      "\n\n[ Peeps ]\nkPeepAngerGrowthWhenTired = 0.002500\n"
      "\n\n[ Buildings ]\nkSleepBuildingCapacity = 2\nkWorkBuildingCapacity = 5\n"
      "\n\n[ Initial Conditions ]\nkStartWithMoney = 0.250000\nkStartWithAgents = 10\nkStartWithTrees = 10\n"
      "\n\n[ Layout/Graphics ]\nkFountainRadius = 24.000000\nkGuardTowerRadius = 12.000000\n"
      "\n\n[ Preferences ]\nkAutosaveMinutes = 5.000000\n");
  readTuningFile(kSavedTuningFileName);
  expectBuiltInsBut();

  // The commented Verlomba.ini shipped with the game sets each variable too.
  readText(sevens);
  readTuningFile(VERLOMBA_SOURCE_DIR "/Verlomba.ini");
  expectBuiltInsBut();
}

TEST_F(TuningFileTest, TableRowsBoolsAndCapacity) {
  // Every row with the name is set; bools store non-zero-ness.
  static TuningTable table;
  bool flag = false;
  float twins[2] = {};
  registerTuning(table, "flag", TuneBool, &flag);
  for (float& twin : twins) registerTuning(table, "twin", TuneFloat, &twin);
  readText("flag = -7\ntwin = 2.5\n", table);
  EXPECT_TRUE(flag);
  EXPECT_EQ(twins[0], 2.5f);
  EXPECT_EQ(twins[1], 2.5f);
  readText("flag = 0.9\n", table);
  EXPECT_FALSE(flag);

  // A full table refuses a row rather than writing past its end.
  int sink = 0;
  while (registerTuning(table, "filler", TuneInt, &sink)) continue;
  EXPECT_EQ(table.count, kTuningTableCapacity);

  for (int i = 0; i < table.count; ++i) std::free(table.entries[i].name);
  table = TuningTable{};
}

}  // namespace
