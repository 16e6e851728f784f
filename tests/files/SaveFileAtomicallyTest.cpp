#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "files/SaveFileAtomically.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// What the working directory holds: a leftover temporary file shows here.
std::set<std::string> files() {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(".")) names.insert(entry.path().filename().string());
  return names;
}

TEST(SaveFileAtomicallyTest, ReplacesAFileOrALinkInTheWayWithoutFollowingIt) {
  ScopedWorkingDirectory dir;
  dir.write("saved.ini", "a longer old text");
  EXPECT_TRUE(saveFileAtomically("saved.ini", "newer").saved);
  EXPECT_EQ(dir.read("saved.ini"), "newer");
  // The player's permissions stay, but no set-id or sticky bit passes to a file of whoever saves.
  ASSERT_EQ(chmod("saved.ini", 07640), 0);
  EXPECT_TRUE(saveFileAtomically("saved.ini", "newest").saved);
  EXPECT_EQ(fs::status("saved.ini").permissions(), static_cast<fs::perms>(0640));

  // A link is replaced; its target, or where a dangling one points, is left alone.
  dir.write("notes.txt", "the player's notes");
  for (const char* target : {"notes.txt", "elsewhere.txt"}) {
    fs::remove("saved.ini");
    fs::create_symlink(target, "saved.ini");
    EXPECT_TRUE(saveFileAtomically("saved.ini", "template").saved);
    EXPECT_FALSE(fs::is_symlink("saved.ini"));
    EXPECT_EQ(dir.read("saved.ini"), "template");
  }
  EXPECT_EQ(dir.read("notes.txt"), "the player's notes");
  EXPECT_EQ(files(), (std::set<std::string>{"saved.ini", "notes.txt"}));
}

TEST(SaveFileAtomicallyTest, AFailedSaveKeepsTheOldBytesAndSaysWhy) {
  ScopedWorkingDirectory dir;
  dir.write("saved.ini", "old");
  // Out of disk while writing, a flush that fails, a crash between the
  // write and the rename: the old file is whole each time.
  for (const auto& fault : std::map<SaveStep, int>{
           {SaveStep::Write, ENOSPC}, {SaveStep::Flush, EIO}, {SaveStep::Rename, EINTR}}) {
    const SaveResult r = saveFileAtomically("saved.ini", std::string(100000, 'n'), [&fault](SaveStep step) {
      return step == fault.first ? fault.second : 0;
    });
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(r.problem, std::strerror(fault.second));
    EXPECT_EQ(dir.read("saved.ini"), "old");
    EXPECT_EQ(files(), std::set<std::string>{"saved.ini"});
  }

  // Even an empty directory in the way is left alone.
  fs::create_directory("folder.ini");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(saveFileAtomically("folder.ini", "new").saved);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "verlomba: could not save folder.ini: Is a directory\n");
  EXPECT_TRUE(fs::is_directory("folder.ini"));
  EXPECT_FALSE(saveFileAtomically("no-such-dir/saved.ini", "new").saved);
  EXPECT_EQ(files(), (std::set<std::string>{"saved.ini", "folder.ini"}));
}

TEST(SaveFileAtomicallyTest, ClearsWhatKilledSavesOfTheSameFileLeft) {
  ScopedWorkingDirectory dir;
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_GT(gone, 0);
  waitpid(gone, nullptr, 0);
  const std::string dead = std::to_string(gone);
  const std::string alive = std::to_string(getppid());  // a save in progress
  const std::set<std::string> kept{".saved.ini." + alive + ".0.tmp", ".other.ini." + dead + ".0.tmp",
                                   ".saved.ini." + dead + ".x.tmp", ".saved.ini.5." + dead + ".0.tmp",
                                   "saved.ini." + dead + ".0.tmp"};
  for (const std::string& name : kept) dir.write(name, "x");
  dir.write(".saved.ini." + dead + ".0.tmp", "left by a killed save");
  dir.write(".saved.ini." + dead + ".12.tmp", "left by a killed save");
  EXPECT_TRUE(saveFileAtomically("saved.ini", "new").saved);
  std::set<std::string> wanted = kept;
  wanted.insert("saved.ini");
  EXPECT_EQ(files(), wanted);
}

TEST(SaveFileAtomicallyTest, AReadOnlyDirectoryKeepsItsFile) {
  if (geteuid() == 0)
    GTEST_SKIP() << "running as root, which may write anywhere: the read-only case is untested";
  ScopedWorkingDirectory dir;
  fs::create_directory("locked");
  dir.write("locked/saved.ini", "old");
  ASSERT_EQ(chmod("locked", 0555), 0);
  EXPECT_FALSE(saveFileAtomically("locked/saved.ini", "new").saved);
  chmod("locked", 0755);
  EXPECT_EQ(dir.read("locked/saved.ini"), "old");
}

}  // namespace
