#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/AboutText.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

class AboutTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("verlomba-about-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, const std::string& bytes) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }

  fs::path dir_;
};

}  // namespace

TEST_F(AboutTextTest, LoadsTheFileOrFallsBackToTheBuiltInText) {
  const std::string missing = (dir_ / "copyright.txt").string();
  EXPECT_EQ(about::load(missing.c_str()), about::builtInText());
  EXPECT_NE(std::string(about::builtInText()).find("Verlomba developers"), std::string::npos);
  EXPECT_EQ(about::load(dir_.string().c_str()), about::builtInText());  // a directory is not a text

  const char raw[] =
      "(c) 2024\r\nLine\ttwo\n\x01"
      "a\xff"
      "b\xc2\xa9\n";
  const std::string path = write("copyright.txt", std::string(raw, sizeof raw - 1));
  EXPECT_EQ(about::load(path.c_str()), "(c) 2024\nLine two\n?a?b?\n");

  const std::string big = write("big.txt", std::string(70000, 'x'));
  std::string text;
  ASSERT_TRUE(about::readFile(big.c_str(), text));
  EXPECT_EQ(text.size(), about::kMaxFileBytes);
}

TEST(AboutWrapTest, WrapsAtSpacesAndBreaksLongWords) {
  EXPECT_EQ(about::wrap("the quick brown fox", 10), (Lines{"the quick", "brown fox"}));
  EXPECT_EQ(about::wrap("abcdefghijkl", 5), (Lines{"abcde", "fghij", "kl"}));
  EXPECT_EQ(about::wrap("one\n\ntwo", 10), (Lines{"one", "", "two"}));
  EXPECT_EQ(about::wrap("a  b   c", 3), (Lines{"a", "b", "c"}));
  EXPECT_EQ(about::wrap("xx abcdefgh", 5), (Lines{"xx", "abcde", "fgh"}));

  // Widths per character, as with a bitmap font: "W" is three units wide.
  const auto width = [](unsigned char c) { return c == 'W' ? 3 : 1; };
  EXPECT_EQ(about::wrap("aWa aW", 6, width), (Lines{"aWa", "aW"}));
  EXPECT_EQ(about::wrap("WWW", 4, width), (Lines{"W", "W", "W"}));

  // Everything wraps within the width, however ugly the input.
  std::string noise;
  for (int i = 0; i < 5000; ++i) noise += (i * 7919) % 5 == 0 ? ' ' : static_cast<char>('a' + i % 26);
  for (const std::string& line : about::wrap(noise, 40)) EXPECT_LE(line.size(), 40u);
}

TEST(AboutWrapTest, CutKeepsTheButtonOnScreen) {
  Lines lines{"1", "2", "3", "4", "5"};
  about::cut(lines, 5);
  EXPECT_EQ(lines.size(), 5u);
  about::cut(lines, 3);
  EXPECT_EQ(lines, (Lines{"1", "2", "..."}));
}
