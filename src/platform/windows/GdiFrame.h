#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "draw/ImageView.h"

// The window's picture as the software renderer draws it (0x00RRGGBB, rows
// top to bottom, which is a top-down 32-bit DIB), shown pixel for pixel
// with SetDIBitsToDevice. It keeps the last frame shown, so a window that
// was covered is painted again without drawing.
class GdiFrame {
 public:
  // The image for the next frame, of this size; its contents are what was
  // shown last when the size is the same.
  ImageView frame(int width, int height);
  // Shows the image on the window's device context.
  void present(HDC dc);
  bool hasPresented() const { return presented_; }

 private:
  std::vector<uint32_t> pixels_;
  int width_ = 0;
  int height_ = 0;
  bool presented_ = false;
};
