#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tuning/Tuning.h"
#include "tuning/TuningFile.h"
#include "tuning/TuningTable.h"

namespace {

namespace fs = std::filesystem;

class TuningFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreBuiltInTuning();
    std::string pattern = (fs::temp_directory_path() / "verlomba-tuning-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }

  void TearDown() override {
    restoreBuiltInTuning();
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  std::string path(const char* name) const { return (dir_ / name).string(); }

  std::string writeFile(const std::string& contents, const char* name = "Verlomba.ini") const {
    std::ofstream(path(name), std::ios::binary) << contents;
    return path(name);
  }

  // Reads contents as a tuning file into the built-in variables, which start
  // from their built-in values.
  void readText(const std::string& contents) {
    restoreBuiltInTuning();
    readTuningFile(writeFile(contents).c_str());
  }

  std::string readBack(const std::string& file) const {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
};

TEST_F(TuningFileTest, LineQuirks) {
  readText("kStartWithMoney = 0.5 # half a bar\n");
  EXPECT_EQ(kStartWithMoney, 0.5f);

  readText("kTreeCost = 1/100\n");
  EXPECT_EQ(kTreeCost, 1.0f);

  readText("[ Payouts ] kWorkBuildingPayout = 0.5\n");
  EXPECT_EQ(kWorkBuildingPayout, 0.05f);

  readText("kpeepcost = 0.5\nKPEEPCOST = 0.5\nkPeepCostly = 0.5\n");
  EXPECT_EQ(kPeepCost, 0.05f);

  readText("kStartWithAgents = 12.7\n");
  EXPECT_EQ(kStartWithAgents, 12);

  // The key must be a word of its own: against the "=" it swallows the value.
  readText("kPeepCost=0.5\nkTreeCost= 0.5\n");
  EXPECT_EQ(kPeepCost, 0.05f);
  EXPECT_EQ(kTreeCost, 0.01f);

  readText("\t  kFountainRadius =30\nkGuardTowerRadius\t=\t-2.5e1\n");
  EXPECT_EQ(kFountainRadius, 30.0f);
  EXPECT_EQ(kGuardTowerRadius, -25.0f);

  // No "=", a value that does not parse, a commented-out line, an "=" only
  // inside the comment: all leave the variable alone.
  readText(
      "kWorkBuildingCapacity 7\nkSleepBuildingCapacity = many\n#kStartWithTrees = 3\n"
      "kMilitaryBuildingCost # = 0.5\nkStartWithMoney =\n");
  EXPECT_EQ(kWorkBuildingCapacity, 5);
  EXPECT_EQ(kSleepBuildingCapacity, 2);
  EXPECT_EQ(kStartWithTrees, 10);
  EXPECT_EQ(kMilitaryBuildingCost, 0.1f);
  EXPECT_EQ(kStartWithMoney, 0.25f);

  // Later lines win; values persist until overridden again.
  readText("kStartWithTrees = 3\nkStartWithTrees = -4\n\n   \nkCapitalBuildingCost = 0.2");
  EXPECT_EQ(kStartWithTrees, -4);
  EXPECT_EQ(kCapitalBuildingCost, 0.2f);
  readTuningFile(writeFile("kStartWithAgents = 1\n").c_str());
  EXPECT_EQ(kStartWithTrees, -4);
  EXPECT_EQ(kStartWithAgents, 1);
}

TEST_F(TuningFileTest, HostileFiles) {
  readTuningFile(path("missing.ini").c_str());
  readTuningFile(dir_.string().c_str());  // a directory opens but does not read
  EXPECT_EQ(kPeepCost, 0.05f);

  readText(
      "kPeepCost = nan\nkTreeCost = inf\nkFountainRadius = -infinity\n"
      "kGuardTowerRadius = 1e999\nkStartWithTrees = 99999999999\nkStartWithAgents = -99999999999\n");
  EXPECT_EQ(kPeepCost, 0.05f);
  EXPECT_EQ(kTreeCost, 0.01f);
  EXPECT_EQ(kFountainRadius, 24.0f);
  EXPECT_EQ(kGuardTowerRadius, 12.0f);
  EXPECT_EQ(kStartWithTrees, 10);
  EXPECT_EQ(kStartWithAgents, 10);

  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 131 + 7) % 256);
  binary += "\nkPeepCost = 0.3\n";
  binary += std::string("kTreeCost\0 = 0.7\n", 17);  // text after a NUL is not seen
  readText(binary);
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

TEST_F(TuningFileTest, SavedFileIsATemplateOfTheBuiltInValues) {
  const char* const expected =
      "\n\n[ Cost of things ]\n"
      "kPeepCost = 0.050000\nkTreeCost = 0.010000\nkSleepBuildingCost = 0.100000\n"
      "kWorkBuildingCost = 0.100000\nkCapitalBuildingCost = 0.100000\nkMilitaryBuildingCost = 0.100000\n"
      "\n\n[ Payouts ]\nkWorkBuildingPayout = 0.050000\n"
      "\n\n[ Peeps ]\nkPeepAngerGrowthWhenTired = 0.002500\n"
      "\n\n[ Buildings ]\nkSleepBuildingCapacity = 2\nkWorkBuildingCapacity = 5\n"
      "\n\n[ Initial Conditions ]\nkStartWithMoney = 0.250000\nkStartWithAgents = 10\nkStartWithTrees = 10\n"
      "\n\n[ Layout/Graphics ]\nkFountainRadius = 24.000000\nkGuardTowerRadius = 12.000000\n";

  // Values in force do not leak into the saved file, and it overwrites.
  readText("kPeepCost = 0.9\nkStartWithAgents = 3\nkGuardTowerRadius = 1\n");
  ASSERT_EQ(kPeepCost, 0.9f);
  writeFile("stale text that is longer than nothing", "Verlomba-saved.ini");
  writeTuningFile(path("Verlomba-saved.ini").c_str());
  EXPECT_EQ(readBack(path("Verlomba-saved.ini")), expected);

  // Reading it back restores every built-in value.
  kTreeCost = kSleepBuildingCost = kWorkBuildingCost = kCapitalBuildingCost = kMilitaryBuildingCost = 7.0f;
  kWorkBuildingPayout = kPeepAngerGrowthWhenTired = kStartWithMoney = kFountainRadius = 7.0f;
  kSleepBuildingCapacity = kWorkBuildingCapacity = kStartWithTrees = 7;
  readTuningFile(path("Verlomba-saved.ini").c_str());
  for (const BuiltInTuning& tuning : kBuiltInTuning) {
    if (tuning.type == TuneFloat) {
      EXPECT_EQ(*static_cast<float*>(tuning.address), tuning.floatValue) << tuning.name;
    } else {
      EXPECT_EQ(*static_cast<int*>(tuning.address), tuning.intValue) << tuning.name;
    }
  }
  EXPECT_EQ(kPeepCost, 0.05f);
  EXPECT_EQ(kStartWithAgents, 10);

  writeTuningFile(path("no-such-dir/Verlomba-saved.ini").c_str());
  EXPECT_FALSE(fs::exists(path("no-such-dir")));
  EXPECT_STREQ(kTuningFileName, "Verlomba.ini");
  EXPECT_STREQ(kSavedTuningFileName, "Verlomba-saved.ini");
}

TEST_F(TuningFileTest, TableRowsBoolsAndCapacity) {
  registerAllTuning();
  const TuningTable& global = tuningTable();
  const int registered = global.count;
  registerAllTuning();
  EXPECT_EQ(global.count, registered);  // only the first call registers
  ASSERT_GE(global.count, kBuiltInTuningCount);
  for (int i = 0; i < kBuiltInTuningCount; ++i) {
    EXPECT_STREQ(global.entries[i].name, kBuiltInTuning[i].name);
    EXPECT_EQ(global.entries[i].address, kBuiltInTuning[i].address);
  }

  // A row per name, every matching row is set, bools store non-zero-ness.
  static TuningTable table;
  bool flag = false;
  float first = 0.0f;
  float second = 0.0f;
  ASSERT_TRUE(registerTuning(table, "flag", TuneBool, &flag));
  ASSERT_TRUE(registerTuning(table, "twin", TuneFloat, &first));
  ASSERT_TRUE(registerTuning(table, "twin", TuneFloat, &second));
  readTuningFile(writeFile("flag = -7\ntwin = 2.5\n").c_str(), table);
  EXPECT_TRUE(flag);
  EXPECT_EQ(first, 2.5f);
  EXPECT_EQ(second, 2.5f);
  readTuningFile(writeFile("flag = 0.9\n").c_str(), table);
  EXPECT_FALSE(flag);

  int sink = 0;
  while (table.count < kTuningTableCapacity) ASSERT_TRUE(registerTuning(table, "filler", TuneInt, &sink));
  EXPECT_FALSE(registerTuning(table, "overflow", TuneInt, &sink));
  EXPECT_EQ(table.count, kTuningTableCapacity);
  readTuningFile(writeFile("filler = 4\noverflow = 5\n").c_str(), table);
  EXPECT_EQ(sink, 4);

  for (int i = 0; i < table.count; ++i) std::free(table.entries[i].name);
  table = TuningTable{};
}

// The commented Verlomba.ini shipped with the game sets every variable, each
// to its built-in value.
TEST_F(TuningFileTest, ShippedFileHoldsEveryBuiltInValue) {
  for (const BuiltInTuning& tuning : kBuiltInTuning) {
    if (tuning.type == TuneFloat) {
      *static_cast<float*>(tuning.address) = -1.0f;
    } else {
      *static_cast<int*>(tuning.address) = -1;
    }
  }
  readTuningFile(VERLOMBA_SOURCE_DIR "/Verlomba.ini");
  for (const BuiltInTuning& tuning : kBuiltInTuning) {
    if (tuning.type == TuneFloat) {
      EXPECT_EQ(*static_cast<float*>(tuning.address), tuning.floatValue) << tuning.name;
    } else {
      EXPECT_EQ(*static_cast<int*>(tuning.address), tuning.intValue) << tuning.name;
    }
  }
}

}  // namespace
