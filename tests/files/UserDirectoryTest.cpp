#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "files/UserDirectory.h"
#include "support/TempDir.h"
#include "tuning/TuningTemplate.h"

namespace fs = std::filesystem;

TEST(UserDirectoryTest, FollowsTheXdgBaseDirectoryRules) {
  EXPECT_EQ(userDirectoryPath("/data//", "/home/ann"), "/data/verlomba");
  // Unset, empty and relative values are ignored alike.
  EXPECT_EQ(userDirectoryPath(nullptr, "/home/ann/"), "/home/ann/.local/share/verlomba");
  EXPECT_EQ(userDirectoryPath("data", "/home/ann"), "/home/ann/.local/share/verlomba");
  EXPECT_EQ(userDirectoryPath("/", nullptr), "/verlomba");
  EXPECT_EQ(userDirectoryPath("", "home"), "");
  EXPECT_EQ(userDirectoryPath(nullptr, nullptr), "");
}

TEST(UserDirectoryTest, MakesItGivesItTheTemplateOnceAndPlaysThere) {
  ScopedWorkingDirectory scratch;  // gives the working directory back afterwards
  const std::string dir = scratch.path() + "/data/new/verlomba";
  std::string error;
  ASSERT_TRUE(enterUserDirectory(dir, error)) << error;
  EXPECT_EQ(fs::current_path(), fs::path(dir));
  struct stat info;
  ASSERT_EQ(stat((scratch.path() + "/data").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(scratch.read("data/new/verlomba/Verlomba.ini"), tuningTemplate());

  // The player's own tuning is never replaced.
  scratch.write("data/new/verlomba/Verlomba.ini", "kPeepCost = 0.2\n");
  ASSERT_TRUE(enterUserDirectory(dir, error)) << error;
  EXPECT_EQ(scratch.read("data/new/verlomba/Verlomba.ini"), "kPeepCost = 0.2\n");

  // A file in the way fails with a reason, and the game stays where it was.
  scratch.write("file", "");
  fs::current_path(scratch.path());
  EXPECT_FALSE(enterUserDirectory(scratch.path() + "/file/verlomba", error));
  EXPECT_NE(error.find("file/verlomba: Not a directory"), std::string::npos) << error;
  EXPECT_EQ(fs::current_path(), fs::path(scratch.path()));
  EXPECT_FALSE(enterUserDirectory("", error));
}
