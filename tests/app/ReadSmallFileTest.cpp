#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "app/ReadSmallFile.h"
#include "support/TempDir.h"

namespace {

// A read that blocks would hang the test run; the alarm ends it instead.
class ReadSmallFileTest : public ::testing::Test {
 protected:
  void SetUp() override { alarm(10); }
  void TearDown() override { alarm(0); }

  ScopedWorkingDirectory dir_;
};

TEST_F(ReadSmallFileTest, ReadsASmallRegularFileWholeAndPassesOverEverythingElse) {
  dir_.write("exact.txt", std::string(kSmallFileLimit, 'x'));
  const SmallFile exact = readSmallFile("exact.txt");
  EXPECT_TRUE(exact.read);
  EXPECT_EQ(exact.text.size(), kSmallFileLimit);
  EXPECT_TRUE(exact.problem.empty());

  dir_.write("empty.txt", "");
  EXPECT_TRUE(readSmallFile("empty.txt").read);

  const SmallFile missing = readSmallFile("missing.txt");
  EXPECT_FALSE(missing.read);
  EXPECT_TRUE(missing.problem.empty());  // a missing file is no problem

  ASSERT_EQ(mkfifo("fifo", 0644), 0);
  ASSERT_EQ(symlink("/dev/zero", "zero"), 0);
  ASSERT_EQ(mkdir("folder", 0755), 0);
  dir_.write("long.txt", std::string(kSmallFileLimit + 1, 'x'));
  const struct {
    const char* name;
    const char* reason;
  } refused[] = {
      {"fifo", "FIFO"}, {"zero", "character device"}, {"folder", "directory"}, {"long.txt", "64 KiB"}};
  for (const auto& r : refused) {
    SCOPED_TRACE(r.name);
    const SmallFile file = readSmallFile(r.name);
    EXPECT_FALSE(file.read);
    EXPECT_TRUE(file.text.empty());
    EXPECT_NE(file.problem.find(r.reason), std::string::npos) << file.problem;
  }

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
  const SmallFile file = readSmallFile("secret.txt");
  EXPECT_FALSE(file.read);
  EXPECT_EQ(file.problem, "Permission denied");
}

}  // namespace
