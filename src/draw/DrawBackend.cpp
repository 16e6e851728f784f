#include "draw/DrawBackend.h"

#include "draw/gl/GlDrawBackend.h"

namespace {
DrawBackend* installed = nullptr;
}  // namespace

DrawBackend& drawBackend() {
  static GlDrawBackend gl;
  return installed ? *installed : gl;
}

void setDrawBackend(DrawBackend* backend) {
  installed = backend;
}
