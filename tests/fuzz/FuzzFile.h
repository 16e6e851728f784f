#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// The readers under test take a path, so each input is written to one
// scratch file per fuzzing process, removed when the process exits. Memory
// backed when possible: on disk the writes would be most of the run.
namespace fuzz {

inline std::string scratchDirectory() {
  const char* dir = std::getenv("TMPDIR");
  if (dir && *dir) return dir;
  if (access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return "/tmp";
}

inline const std::string& scratchPath() {
  static const std::string path = [] {
    std::string pattern = scratchDirectory() + "/verlomba-fuzz-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) std::abort();
    close(fd);
    static const std::string removeAtExit = pattern;
    std::atexit([] { unlink(removeAtExit.c_str()); });
    return pattern;
  }();
  return path;
}

inline const char* writeScratch(const uint8_t* data, std::size_t size) {
  const std::string& path = scratchPath();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  return path.c_str();
}

// Stops the run with the input saved as a crash, and says why.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

}  // namespace fuzz
