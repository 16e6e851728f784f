#include "draw/DrawBackend.h"

#include <cstdio>
#include <cstdlib>

namespace {
DrawBackend* installed = nullptr;
}  // namespace

DrawBackend& drawBackend() {
  if (!installed) {
    // A frame with nowhere to go is a fault of the program's set-up.
    std::fputs("verlomba: drawing with no drawing backend installed\n", stderr);
    std::abort();
  }
  return *installed;
}

void setDrawBackend(DrawBackend* backend) {
  installed = backend;
}

DrawBackend* installedDrawBackend() {
  return installed;
}
