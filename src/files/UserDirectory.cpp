#include "files/UserDirectory.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/Release.h"
#include "tuning/TuningFile.h"
#include "tuning/TuningTemplate.h"

namespace {

bool isAbsolute(const char* path) {
  return path && path[0] == '/';
}

// mkdir -p, each new directory private to the user.
bool makeDirectories(const std::string& dir) {
  for (std::size_t end = 1; end <= dir.size(); ++end) {
    if (end < dir.size() && dir[end] != '/') continue;
    const std::string part = dir.substr(0, end);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat info;
  if (stat(dir.c_str(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  return true;
}

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Writes the template only where there is no tuning file yet, so the
// player's own is never replaced. A half-written file is removed, so the
// next start tries again.
bool giveTuningTemplate(const char* path) {
  const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return errno == EEXIST;
  const char* text = tuningTemplate();
  int failure = writeAll(fd, text, std::strlen(text)) ? 0 : errno;
  if (close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0) return true;
  unlink(path);
  errno = failure;
  return false;
}

}  // namespace

std::string userDirectoryPath(const char* xdgDataHome, const char* home) {
  const bool fromXdg = isAbsolute(xdgDataHome);
  if (!fromXdg && !isAbsolute(home)) return {};
  std::string base = fromXdg ? xdgDataHome : home;
  while (!base.empty() && base.back() == '/') base.pop_back();
  return base + (fromXdg ? "" : "/.local/share") + "/verlomba";
}

bool enterUserDirectory(const std::string& dir, std::string& error) {
  if (dir.empty()) {
    error = "no per-user directory: neither XDG_DATA_HOME nor HOME is set; playing in the working directory";
    return false;
  }
  if (!makeDirectories(dir) || chdir(dir.c_str()) != 0) {
    error = "cannot use " + dir + ": " + std::strerror(errno) + "; playing in the working directory";
    return false;
  }
  if (!giveTuningTemplate(kTuningFileName)) {
    error = "cannot write " + dir + "/" + kTuningFileName + ": " + std::strerror(errno) +
            "; playing with the built-in tuning";
    return false;
  }
  return true;
}

void enterUserDirectoryOrWarn() {
  const char* home = std::getenv("HOME");
  if (!isAbsolute(home)) {
    const passwd* entry = getpwuid(getuid());
    home = entry ? entry->pw_dir : nullptr;
  }
  std::string error;
  if (!enterUserDirectory(userDirectoryPath(std::getenv("XDG_DATA_HOME"), home), error)) {
    std::fprintf(stderr, "%s: %s\n", release::kProgramName, error.c_str());
  }
}
