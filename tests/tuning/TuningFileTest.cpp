#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/TempDir.h"
#include "tuning/Tuning.h"
#include "tuning/TuningFile.h"
#include "tuning/TuningTable.h"

namespace {

class TuningFileTest : public ::testing::Test {
 protected:
  void TearDown() override { restoreBuiltInTuning(); }

  // Reads contents as a tuning file into table, with the built-in variables
  // starting from their built-in values.
  void readText(const std::string& contents, const TuningTable& table = tuningTable()) {
    registerAllTuning();
    restoreBuiltInTuning();
    dir_.write(kTuningFileName, contents);
    readTuningFile(kTuningFileName, table);
  }

  ScopedWorkingDirectory dir_;
};

void expectEveryBuiltIn() {
  for (const BuiltInTuning& t : kBuiltInTuning) {
    const bool isFloat = t.type == TuneFloat;
    const float value = isFloat ? *static_cast<float*>(t.address) : *static_cast<int*>(t.address);
    EXPECT_EQ(value, isFloat ? t.floatValue : t.intValue) << t.name;
  }
}

TEST_F(TuningFileTest, LineQuirks) {
  readText(
      "kStartWithMoney = 0.5 # half a bar\n"
      "kTreeCost = 1/100\n"
      "[ Payouts ] kWorkBuildingPayout = 0.5\n"
      "kpeepcost = 0.5\nKPEEPCOST = 0.5\nkPeepCostly = 0.5\nkPeepCost=0.5\n"
      "kStartWithAgents = 12.7\n"
      "\t  kFountainRadius =30\nkGuardTowerRadius\t=\t-2.5e1\n"
      "kWorkBuildingCapacity 7\nkSleepBuildingCapacity = many\n#kStartWithTrees = 3\n"
      "kMilitaryBuildingCost # = 0.5\nkCapitalBuildingCost =\n"
      "kSleepBuildingCost = 3\nkSleepBuildingCost = 0.4");
  EXPECT_EQ(kStartWithMoney, 0.5f);
  EXPECT_EQ(kTreeCost, 1.0f);             // "/" starts a comment too
  EXPECT_EQ(kWorkBuildingPayout, 0.05f);  // and so does "["
  EXPECT_EQ(kPeepCost, 0.05f);            // exact, whole-word keys only
  EXPECT_EQ(kStartWithAgents, 12);
  EXPECT_EQ(kFountainRadius, 30.0f);
  EXPECT_EQ(kGuardTowerRadius, -25.0f);
  // No "=", a value that does not parse, a commented-out line, an "=" only
  // inside the comment, no value: all leave the variable alone.
  EXPECT_EQ(kWorkBuildingCapacity, 5);
  EXPECT_EQ(kSleepBuildingCapacity, 2);
  EXPECT_EQ(kStartWithTrees, 10);
  EXPECT_EQ(kMilitaryBuildingCost, 0.1f);
  EXPECT_EQ(kCapitalBuildingCost, 0.1f);
  EXPECT_EQ(kSleepBuildingCost, 0.4f);  // later lines win
}

TEST_F(TuningFileTest, HostileFiles) {
  readTuningFile("missing.ini");
  readTuningFile(dir_.path().c_str());  // a directory opens but does not read
  EXPECT_EQ(kPeepCost, 0.05f);

  readText(
      "kPeepCost = nan\nkTreeCost = -infinity\n"
      "kGuardTowerRadius = 1e999\nkStartWithTrees = 99999999999\nkStartWithAgents = -99999999999\n");
  EXPECT_EQ(kPeepCost, 0.05f);
  EXPECT_EQ(kTreeCost, 0.01f);
  EXPECT_EQ(kGuardTowerRadius, 12.0f);
  EXPECT_EQ(kStartWithTrees, 10);
  EXPECT_EQ(kStartWithAgents, 10);

  // Text after a NUL is not seen, and the lines after it still count.
  readText(std::string("kTreeCost\0 = 0.7\n", 17) + "\001\377\nkPeepCost = 0.3\n");
  EXPECT_EQ(kPeepCost, 0.3f);
  EXPECT_EQ(kTreeCost, 0.01f);

  // 5,000-character lines: one word, one huge number, and one whose piece
  // boundary (after 1,023 characters) lands on a key, which then counts.
  const std::string word(5000, 'k');
  const std::string huge = "kWorkBuildingPayout = " + std::string(4978, '9');
  const std::string split = std::string(1023, 'x') + "kStartWithMoney = 0.75" + std::string(3955, ' ');
  readText(word + "\n" + huge + "\n" + split + "\n");
  EXPECT_EQ(kWorkBuildingPayout, 0.05f);
  EXPECT_EQ(kStartWithMoney, 0.75f);
}

TEST_F(TuningFileTest, SavedAndShippedFilesHoldEveryBuiltInValue) {
  std::string sevens;
  for (const BuiltInTuning& tuning : kBuiltInTuning) sevens += std::string(tuning.name) + " = 7\n";
  readText(sevens);
  ASSERT_EQ(kGuardTowerRadius, 7.0f);

  // Values in force do not leak into the saved file, which overwrites what
  // was there in the layout players edit, and reads back as every built-in.
  dir_.write(kSavedTuningFileName, "stale text that is longer than nothing");
  writeTuningFile(kSavedTuningFileName);
  EXPECT_EQ(
      dir_.read(kSavedTuningFileName),
      "\n\n[ Cost of things ]\n"
      "kPeepCost = 0.050000\nkTreeCost = 0.010000\nkSleepBuildingCost = 0.100000\n"
      "kWorkBuildingCost = 0.100000\nkCapitalBuildingCost = 0.100000\nkMilitaryBuildingCost = 0.100000\n"
      "\n\n[ Payouts ]\nkWorkBuildingPayout = 0.050000\n"
      "\n\n[ Peeps ]\nkPeepAngerGrowthWhenTired = 0.002500\n"
      "\n\n[ Buildings ]\nkSleepBuildingCapacity = 2\nkWorkBuildingCapacity = 5\n"
      "\n\n[ Initial Conditions ]\nkStartWithMoney = 0.250000\nkStartWithAgents = 10\nkStartWithTrees = 10\n"
      "\n\n[ Layout/Graphics ]\nkFountainRadius = 24.000000\nkGuardTowerRadius = 12.000000\n");
  readTuningFile(kSavedTuningFileName);
  expectEveryBuiltIn();

  // The commented Verlomba.ini shipped with the game sets each variable too.
  readText(sevens);
  readTuningFile(VERLOMBA_SOURCE_DIR "/Verlomba.ini");
  expectEveryBuiltIn();

  writeTuningFile("no-such-dir/Verlomba-saved.ini");
  EXPECT_FALSE(std::filesystem::exists("no-such-dir"));
}

TEST_F(TuningFileTest, TableRowsBoolsAndCapacity) {
  // Every row with the name is set; bools store non-zero-ness.
  static TuningTable table;
  bool flag = false;
  float first = 0.0f;
  float second = 0.0f;
  ASSERT_TRUE(registerTuning(table, "flag", TuneBool, &flag));
  ASSERT_TRUE(registerTuning(table, "twin", TuneFloat, &first));
  ASSERT_TRUE(registerTuning(table, "twin", TuneFloat, &second));
  readText("flag = -7\ntwin = 2.5\n", table);
  EXPECT_TRUE(flag);
  EXPECT_EQ(first, 2.5f);
  EXPECT_EQ(second, 2.5f);
  readText("flag = 0.9\n", table);
  EXPECT_FALSE(flag);

  int sink = 0;
  while (table.count < kTuningTableCapacity) ASSERT_TRUE(registerTuning(table, "filler", TuneInt, &sink));
  EXPECT_FALSE(registerTuning(table, "overflow", TuneInt, &sink));
  readText("filler = 4\noverflow = 5\n", table);
  EXPECT_EQ(sink, 4);

  for (int i = 0; i < table.count; ++i) std::free(table.entries[i].name);
  table = TuningTable{};
}

}  // namespace
