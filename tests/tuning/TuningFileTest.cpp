#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
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
  // starting from their built-in values.
  // Returns what the reader clamped or refused.
  std::vector<std::string> readText(const std::string& contents, const TuningTable& table = tuningTable()) {
    registerAllTuning();
    restoreBuiltInTuning();
    dir_.write(kTuningFileName, contents);
    return readTuningFile(kTuningFileName, table);
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
      "\t  kFountainRadius =30\nkGuardTowerRadius\t=\t2.5e1\n"
      "kWorkBuildingCapacity 7\nkSleepBuildingCapacity = many\n#kStartWithTrees = 3\n"
      "kMilitaryBuildingCost # = 0.5\nkCapitalBuildingCost =\n"
      "kSleepBuildingCost = 0.3\nkSleepBuildingCost = 0.4");
  EXPECT_EQ(kStartWithMoney, 0.5f);
  EXPECT_EQ(kTreeCost, 1.0f);             // "/" starts a comment too
  EXPECT_EQ(kWorkBuildingPayout, 0.05f);  // and so does "["
  EXPECT_EQ(kPeepCost, 0.05f);            // exact, whole-word keys only
  EXPECT_EQ(kStartWithAgents, 12);
  EXPECT_EQ(kFountainRadius, 30.0f);
  EXPECT_EQ(kGuardTowerRadius, 25.0f);
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
  // Read as missing, and without waiting for a writer: a FIFO (as on a
  // reload), a file over 64 KiB (not even its first lines count).
  alarm(10);
  ASSERT_EQ(mkfifo("fifo.ini", 0644), 0);
  readTuningFile("fifo.ini");
  dir_.write("long.ini", "kPeepCost = 0.5\n" + std::string(64 * 1024, '#'));
  readTuningFile("long.ini");
  alarm(0);
  EXPECT_EQ(kPeepCost, 0.05f);

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
  EXPECT_EQ(kWorkBuildingPayout, 1.0f);  // the most a payout may be
  EXPECT_EQ(kStartWithMoney, 0.75f);
}

TEST_F(TuningFileTest, NumbersOutOfBoundsAreClampedAndReportedOnce) {
  // The built-in values are playable by definition.
  for (const BuiltInTuning& t : kBuiltInTuning) {
    const float value = t.type == TuneFloat ? t.floatValue : static_cast<float>(t.intValue);
    EXPECT_TRUE(value >= t.lowest && value <= t.highest) << t.name;
  }

  // Far below and far above every bound, in the forms a player might write;
  // "%d" still reads the digits before a point.
  for (const char* low : {"-3e38", "-99999999999"}) {
    std::string text;
    for (const BuiltInTuning& t : kBuiltInTuning) text += std::string(t.name) + " = " + low + "\n";
    EXPECT_EQ(readText(text).size(), 15u) << low;
    for (const BuiltInTuning& t : kBuiltInTuning) {
      const float value =
          t.type == TuneFloat ? *static_cast<float*>(t.address) : *static_cast<int*>(t.address);
      EXPECT_EQ(value, t.lowest) << t.name << " = " << low;
    }
  }
  for (const char* high : {"3e38", "1e999", "99999999999.5"}) {
    std::string text;
    for (const BuiltInTuning& t : kBuiltInTuning) text += std::string(t.name) + " = " + high + "\n";
    readText(text);
    for (const BuiltInTuning& t : kBuiltInTuning) {
      const bool isFloat = t.type == TuneFloat;
      const float value = isFloat ? *static_cast<float*>(t.address) : *static_cast<int*>(t.address);
      // "3e38" and "1e999" are 3 and 1 to "%d".
      const float expected = isFloat || high[0] == '9' ? t.highest : value;
      EXPECT_EQ(value, expected) << t.name << " = " << high;
    }
  }

  // In bounds, nothing is said; not a number is refused and said.
  EXPECT_EQ(readText("kFountainRadius = 32\nkStartWithAgents = 0\nkPeepCost = nan\nkTreeCost = -infinity\n"),
            (std::vector<std::string>{"kPeepCost = nan is not a number; ignored",
                                      "kTreeCost = -infinity is out of bounds (0 to 1); using 0"}));
  EXPECT_EQ(kFountainRadius, 32.0f);
  EXPECT_EQ(kPeepCost, 0.05f);
  EXPECT_EQ(kTreeCost, 0.0f);

  // The game's reader says it on standard error, naming the file.
  dir_.write(kTuningFileName, "kPeepCost = -3e38  # free, and then some\n");
  testing::internal::CaptureStderr();
  readTuningFile(kTuningFileName);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "verlomba: Verlomba.ini: kPeepCost = -3e38 is out of bounds (0 to 1); using 0\n");
  EXPECT_EQ(kPeepCost, 0.0f);
}

TEST_F(TuningFileTest, SavedAndShippedFilesHoldEveryBuiltInValue) {
  std::string sevens;
  for (const BuiltInTuning& tuning : kBuiltInTuning) sevens += std::string(tuning.name) + " = 7\n";
  readText(sevens);
  ASSERT_EQ(kGuardTowerRadius, 7.0f);

  // Values in force do not leak into the saved file, which overwrites what
  // was there in the layout players edit, and reads back as every built-in.
  dir_.write(kSavedTuningFileName, "stale text that is longer than nothing");
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
      "\n\n[ Layout/Graphics ]\nkFountainRadius = 24.000000\nkGuardTowerRadius = 12.000000\n");
  readTuningFile(kSavedTuningFileName);
  expectEveryBuiltIn();

  // The commented Verlomba.ini shipped with the game sets each variable too.
  readText(sevens);
  readTuningFile(VERLOMBA_SOURCE_DIR "/Verlomba.ini");
  expectEveryBuiltIn();

  EXPECT_FALSE(writeTuningFile("no-such-dir/Verlomba-saved.ini").saved);
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
