#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

using Action = CommandLine::Action;

CommandLine parse(std::initializer_list<const char*> arguments) {
  std::vector<const char*> argv{"verlomba"};
  argv.insert(argv.end(), arguments);
  argv.push_back(nullptr);
  return parseCommandLine(static_cast<int>(argv.size()) - 1, argv.data());
}

}  // namespace

TEST(CommandLineTest, ReadsOptionsInOrderAndRefusesAnythingElse) {
  EXPECT_EQ(parseCommandLine(0, nullptr).action, Action::kPlay);  // no argv[0] at all
  EXPECT_FALSE(parse({}).userDirectory);
  EXPECT_TRUE(parse({"--user-dir"}).userDirectory);
  EXPECT_EQ(parse({"--user-dir", "-h"}).action, Action::kHelp);
  EXPECT_EQ(parse({"--help"}).action, Action::kHelp);
  EXPECT_EQ(parse({"-V"}).action, Action::kVersion);
  // The first of them wins, and nothing after it is looked at.
  EXPECT_EQ(parse({"--version", "--help", "--bogus"}).action, Action::kVersion);
  EXPECT_EQ(parse({"--bogus", "--help"}).problem, "unknown option '--bogus'");
  EXPECT_EQ(parse({"--help=x"}).action, Action::kBadUsage);
  // The game takes no file or other operand; "-" and anything after "--" are operands.
  EXPECT_EQ(parse({"save.ini"}).problem, "unexpected argument 'save.ini'");
  EXPECT_EQ(parse({"-"}).problem, "unexpected argument '-'");
  EXPECT_EQ(parse({"--", "--help"}).problem, "unexpected argument '--help'");
  EXPECT_EQ(parse({"--", "--"}).problem, "unexpected argument '--'");
  EXPECT_EQ(parse({"--"}).action, Action::kPlay);
  // The city file is the option's own argument, whatever it looks like.
  EXPECT_EQ(parse({"--city", "-h"}).cityFile, "-h");
  EXPECT_EQ(parse({"--city=a b", "--user-dir"}).cityFile, "a b");
  EXPECT_EQ(parse({"--city"}).problem, "option '--city' needs a file");
  EXPECT_EQ(parse({"--city="}).action, Action::kBadUsage);
}

TEST(CommandLineTest, ScaleWantsAPositiveNumber) {
  EXPECT_EQ(parse({"--scale", "2"}).scale, 2.0);
  EXPECT_EQ(parse({"--scale=0.1"}).scale, 0.5);  // brought within 0.5-4
  EXPECT_EQ(parse({"--scale", "9", "--user-dir"}).action, Action::kPlay);
  for (const char* bad : {"abc", "0", "-1", "nan", "inf", "2x", ""}) {
    EXPECT_EQ(parse({"--scale", bad}).action, Action::kBadUsage) << bad;
  }
  EXPECT_EQ(parse({"--scale"}).action, Action::kBadUsage);
}
