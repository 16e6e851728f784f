#include "files/SaveFileAtomically.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The directory part of path, for the temporary file and the final flush.
std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".NAME.PID.ATTEMPT.tmp" beside path: hidden, so a crash leaves no clutter
// a player would trip over.
std::string temporaryName(const std::string& path, int attempt) {
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".%ld.%d.tmp", static_cast<long>(getpid()), attempt);
  return path.substr(0, path.size() - fileNameOf(path).size()) + "." + fileNameOf(path) + suffix;
}

// The process id in entry when it is named as a temporary file of a save of
// the file called name (".NAME.PID.ATTEMPT.tmp"), or 0.
long saverOf(const std::string& entry, const std::string& name) {
  const std::string prefix = "." + name + ".";
  const std::string suffix = ".tmp";
  if (entry.size() <= prefix.size() + suffix.size() || entry.compare(0, prefix.size(), prefix) != 0 ||
      entry.compare(entry.size() - suffix.size(), suffix.size(), suffix) != 0)
    return 0;
  const std::string numbers = entry.substr(prefix.size(), entry.size() - prefix.size() - suffix.size());
  const std::size_t dot = numbers.find('.');
  if (dot == 0 || dot == std::string::npos || dot + 1 == numbers.size() || dot > 9) return 0;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i != dot && (numbers[i] < '0' || numbers[i] > '9')) return 0;
  }
  return std::strtol(numbers.c_str(), nullptr, 10);
}

// Removes the temporary files that killed saves of path left behind: named
// as this very file's, plain files of this user, made by a process that no
// longer runs. A save in progress elsewhere keeps its file.
void clearLeftovers(const std::string& path) {
  const std::string name = fileNameOf(path);
  DIR* dir = opendir(directoryOf(path).c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const long pid = saverOf(entry->d_name, name);
    if (pid <= 0 || pid == getpid()) continue;
    if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    struct stat st;
    if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(st.st_mode) && st.st_uid == geteuid()) unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

class Save {
 public:
  Save(const std::string& path, const SaveFault& fault) : path_(path), fault_(fault) {}
  ~Save() {
    if (fd_ >= 0) close(fd_);
    if (!temporary_.empty()) unlink(temporary_.c_str());
  }
  Save(const Save&) = delete;
  Save& operator=(const Save&) = delete;

  // Each step returns 0 or the errno that stopped it.
  int create() {
    if (const int e = injected(SaveStep::Create)) return e;
    clearLeftovers(path_);
    // A leftover from a crashed save (its process id may come back) is
    // never reused: O_EXCL refuses it and the next name is tried.
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::string name = temporaryName(path_, attempt);
      fd_ = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        temporary_ = name;
        keepModeOfOldFile();
        return 0;
      }
      if (errno != EEXIST) return errno;
    }
    return EEXIST;
  }

  int write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      if (const int e = injected(SaveStep::Write)) return e;
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return errno;
      done += static_cast<std::size_t>(n);
    }
    return 0;
  }

  int flush() {
    if (const int e = injected(SaveStep::Flush)) return e;
    if (fsync(fd_) != 0) return errno;
    const int fd = fd_;
    fd_ = -1;
    // Some file systems only report a failed write-back here.
    if (close(fd) != 0) return errno;
    return 0;
  }

  int rename() {
    if (const int e = injected(SaveStep::Rename)) return e;
    if (::rename(temporary_.c_str(), path_.c_str()) != 0) return errno;
    temporary_.clear();
    // The new name is on disk only once its directory is; the file itself
    // is complete either way, so a failure here is not the save's.
    const int dir = open(directoryOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
    return 0;
  }

 private:
  // The file that replaces a plain file keeps the permissions the player
  // gave it, as writing it in place did; but not set-id or sticky bits: the
  // new file belongs to whoever saves.
  void keepModeOfOldFile() {
    struct stat old;
    if (lstat(path_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd_, old.st_mode & 0777);
  }

  int injected(SaveStep step) const { return fault_ ? fault_(step) : 0; }

  const std::string& path_;
  const SaveFault& fault_;
  std::string temporary_;
  int fd_ = -1;
};

}  // namespace

SaveResult saveFileAtomically(const std::string& path, const std::string& bytes, const SaveFault& fault) {
  Save save(path, fault);
  int error = save.create();
  if (!error) error = save.write(bytes);
  if (!error) error = save.flush();
  if (!error) error = save.rename();

  SaveResult result;
  result.saved = error == 0;
  if (!result.saved) {
    result.problem = std::strerror(error);
    std::fprintf(stderr, "verlomba: could not save %s: %s\n", path.c_str(), result.problem.c_str());
  }
  return result;
}
