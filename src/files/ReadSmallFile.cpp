#include "files/ReadSmallFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

const char* kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a plain file";
}

// Reads the open file into text; the result is the problem, empty on success.
std::string readOpenFile(int fd, std::size_t maxBytes, std::string& text) {
  struct stat st;
  if (fstat(fd, &st) != 0) return std::strerror(errno);
  if (!S_ISREG(st.st_mode)) return std::string("it is ") + kindOf(st.st_mode) + ", not a regular file";
  if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > maxBytes)
    return tooLongReason(maxBytes);

  // One byte more than allowed tells a file that grew since the check.
  text.resize(maxBytes + 1);
  std::size_t got = 0;
  while (got < text.size()) {
    const ssize_t n = read(fd, &text[got], text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::strerror(errno);
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got > maxBytes) return tooLongReason(maxBytes);
  text.resize(got);
  return {};
}

}  // namespace

SmallFile readSmallFile(const char* path, std::size_t maxBytes, bool quiet) {
  SmallFile file;
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) file.problem = std::strerror(errno);
  } else {
    file.problem = readOpenFile(fd, maxBytes, file.text);
    close(fd);
    file.read = file.problem.empty();
  }
  finishSmallFile(file, path, quiet);
  return file;
}
