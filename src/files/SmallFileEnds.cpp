#include <cstdio>

#include "files/ReadSmallFile.h"

std::string tooLongReason(std::size_t maxBytes) {
  char reason[64];
  if (maxBytes % 1024 == 0) {
    std::snprintf(reason, sizeof reason, "it is longer than %zu KiB", maxBytes / 1024);
  } else {
    std::snprintf(reason, sizeof reason, "it is longer than %zu bytes", maxBytes);
  }
  return reason;
}

void finishSmallFile(SmallFile& file, const char* path, bool quiet) {
  if (!file.read) file.text.clear();
  if (!quiet && !file.problem.empty())
    std::fprintf(stderr, "verlomba: ignoring %s: %s\n", path, file.problem.c_str());
}
