#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AboutText.h"
#include "support/TempDir.h"

using Lines = std::vector<std::string>;

TEST(AboutTextTest, LoadsSafelyWrapsAndCuts) {
  ScopedWorkingDirectory dir;
  EXPECT_EQ(about::load(), about::builtInText());
  EXPECT_EQ(about::load(dir.path().c_str()), about::builtInText());  // a directory is not a text

  dir.write(about::kFileName, "(c) 2024\r\nLine\ttwo\n\001a\377b\302\251\n");
  EXPECT_EQ(about::load(), "(c) 2024\nLine two\n?a?b?\n");

  // Longer than 64 KiB: the built-in text, not the start of the file.
  dir.write("big.txt", std::string(70000, 'x'));
  EXPECT_EQ(about::load("big.txt"), about::builtInText());

  EXPECT_EQ(about::wrap("the quick brown fox", 10), (Lines{"the quick", "brown fox"}));
  EXPECT_EQ(about::wrap("one\n\ntwo", 10), (Lines{"one", "", "two"}));
  EXPECT_EQ(about::wrap("a  b   c", 3), (Lines{"a", "b", "c"}));
  EXPECT_EQ(about::wrap("xx abcdefgh", 5), (Lines{"xx", "abcde", "fgh"}));

  // Widths per character, as with a bitmap font: "W" is three units wide.
  const auto width = [](unsigned char c) { return c == 'W' ? 3 : 1; };
  EXPECT_EQ(about::wrap("aWa aW", 6, width), (Lines{"aWa", "aW"}));

  // Cutting keeps the OK button on screen and shows that lines were dropped.
  Lines lines{"1", "2", "3", "4", "5"};
  about::cut(lines, 5);
  EXPECT_EQ(lines.size(), 5u);
  about::cut(lines, 3);
  EXPECT_EQ(lines, (Lines{"1", "2", "..."}));
}
