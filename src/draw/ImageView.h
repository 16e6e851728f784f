#pragma once

#include <cstddef>
#include <cstdint>

// A 32-bit image to draw into: pixels 0x00RRGGBB, rows top to bottom, as an
// X server's 24-bit TrueColor visual lays them out. Does not own the pixels.
struct ImageView {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // pixels from the start of one row to the next

  uint32_t* row(int y) const { return pixels + static_cast<std::ptrdiff_t>(y) * stride; }
  uint32_t& at(int x, int y) const { return row(y)[x]; }
  bool empty() const { return !pixels || width <= 0 || height <= 0; }
};

// A box of image pixels, its right and bottom edges outside it.
struct PixelBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
