#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/SaveFileAtomically.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class SaveFileAtomicallyTest : public ::testing::Test {
 protected:
  // Only the named files are in the directory: no temporary file is left.
  void expectOnly(std::initializer_list<const char*> names) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
      (void)entry;
      ++count;
    }
    EXPECT_EQ(count, static_cast<int>(names.size()));
    for (const char* name : names) EXPECT_TRUE(fs::exists(fs::symlink_status(name))) << name;
  }

  ScopedWorkingDirectory dir_;
};

TEST_F(SaveFileAtomicallyTest, ReplacesAFileOrALinkInTheWayWithoutFollowingIt) {
  const SaveResult fresh = saveFileAtomically("saved.ini", "new");
  EXPECT_TRUE(fresh.saved);
  EXPECT_TRUE(fresh.problem.empty());
  EXPECT_EQ(dir_.read("saved.ini"), "new");

  // The player's permissions stay.
  dir_.write("saved.ini", "a longer old text");
  fs::permissions("saved.ini", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(saveFileAtomically("saved.ini", "newer").saved);
  EXPECT_EQ(dir_.read("saved.ini"), "newer");
  EXPECT_EQ(fs::status("saved.ini").permissions(), fs::perms::owner_read | fs::perms::owner_write);

  dir_.write("notes.txt", "the player's notes");
  fs::remove("saved.ini");
  fs::create_symlink("notes.txt", "saved.ini");
  EXPECT_TRUE(saveFileAtomically("saved.ini", "template").saved);
  EXPECT_FALSE(fs::is_symlink("saved.ini"));
  EXPECT_EQ(dir_.read("saved.ini"), "template");
  EXPECT_EQ(dir_.read("notes.txt"), "the player's notes");

  // A dangling link creates nothing where it points.
  fs::remove("saved.ini");
  fs::create_symlink("elsewhere.txt", "saved.ini");
  EXPECT_TRUE(saveFileAtomically("saved.ini", "template").saved);
  EXPECT_FALSE(fs::exists("elsewhere.txt"));
  expectOnly({"saved.ini", "notes.txt"});
}

TEST_F(SaveFileAtomicallyTest, AFailedSaveKeepsTheOldBytesAndSaysWhy) {
  dir_.write("saved.ini", "old");
  // Out of disk while writing, a flush that fails, a crash between the
  // write and the rename: the old file is whole each time.
  const struct {
    SaveStep step;
    int error;
  } faults[] = {{SaveStep::Write, ENOSPC}, {SaveStep::Flush, EIO}, {SaveStep::Rename, EINTR}};
  for (const auto& f : faults) {
    SCOPED_TRACE(static_cast<int>(f.step));
    const SaveResult r = saveFileAtomically("saved.ini", std::string(100000, 'n'),
                                            [&f](SaveStep step) { return step == f.step ? f.error : 0; });
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(r.problem, std::strerror(f.error));
    EXPECT_EQ(dir_.read("saved.ini"), "old");
    expectOnly({"saved.ini"});
  }

  // A directory in the way, empty or not, is left alone.
  fs::create_directories("folder.ini/inside");
  testing::internal::CaptureStderr();
  const SaveResult onDirectory = saveFileAtomically("folder.ini", "new");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "verlomba: could not save folder.ini: Is a directory\n");
  EXPECT_FALSE(onDirectory.saved);
  EXPECT_TRUE(fs::is_directory("folder.ini/inside"));
  fs::remove("folder.ini/inside");
  EXPECT_FALSE(saveFileAtomically("folder.ini", "new").saved);
  expectOnly({"saved.ini", "folder.ini"});

  EXPECT_EQ(saveFileAtomically("no-such-dir/saved.ini", "new").problem, "No such file or directory");
}

TEST_F(SaveFileAtomicallyTest, AReadOnlyDirectoryKeepsItsFile) {
  if (geteuid() == 0)
    GTEST_SKIP() << "running as root, which may write anywhere: the read-only case is untested";
  fs::create_directory("locked");
  dir_.write("locked/saved.ini", "old");
  ASSERT_EQ(chmod("locked", 0555), 0);
  const SaveResult r = saveFileAtomically("locked/saved.ini", "new");
  chmod("locked", 0755);
  EXPECT_FALSE(r.saved);
  EXPECT_EQ(r.problem, "Permission denied");
  EXPECT_EQ(dir_.read("locked/saved.ini"), "old");
}

}  // namespace
