#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "files/ReadSmallFile.h"
#include "support/TempDir.h"

namespace {

// A read that blocks would hang the test run; the alarm ends it instead.
class ReadSmallFileTest : public ::testing::Test {
 protected:
  void SetUp() override { alarm(10); }
  void TearDown() override { alarm(0); }

  // Read as missing, with a reason.
  static void expectPassedOver(const char* name) {
    const SmallFile file = readSmallFile(name);
    EXPECT_FALSE(file.read) << name;
    EXPECT_FALSE(file.problem.empty()) << name;
  }

  ScopedWorkingDirectory dir_;
};

TEST_F(ReadSmallFileTest, ReadsASmallRegularFileWholeAndPassesOverEverythingElse) {
  dir_.write("exact.txt", std::string(kSmallFileLimit, 'x'));
  EXPECT_EQ(readSmallFile("exact.txt").text.size(), kSmallFileLimit);
  dir_.write("empty.txt", "");
  EXPECT_TRUE(readSmallFile("empty.txt").read);
  const SmallFile missing = readSmallFile("missing.txt");
  EXPECT_FALSE(missing.read);
  EXPECT_TRUE(missing.problem.empty());  // a missing file is no problem

  ASSERT_EQ(mkfifo("fifo", 0644), 0);
  ASSERT_EQ(symlink("/dev/zero", "zero"), 0);
  ASSERT_EQ(mkdir("folder", 0755), 0);
  dir_.write("long.txt", std::string(kSmallFileLimit + 1, 'x'));
  for (const char* name : {"fifo", "zero", "folder", "long.txt"}) expectPassedOver(name);

  // Said once, with the file's name.
  testing::internal::CaptureStderr();
  readSmallFile("fifo");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "verlomba: ignoring fifo: it is a FIFO, not a regular file\n");
}

TEST_F(ReadSmallFileTest, PassesOverAFileItMayNotRead) {
  if (geteuid() == 0)
    GTEST_SKIP() << "running as root, which may read any file: the permission case is untested";
  dir_.write("secret.txt", "kPeepCost = 0.5\n");
  ASSERT_EQ(chmod("secret.txt", 0), 0);
  expectPassedOver("secret.txt");
}

}  // namespace
