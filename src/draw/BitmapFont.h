#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/DrawBackend.h"

// A bitmap font as OpenGL draws it with glBitmap: for each character code the
// lit pixels, placed relative to the pixel the raster position falls in
// (x to the right, y upwards as in GL window coordinates), and the advance
// that moves the raster position on.
struct BitmapGlyph {
  int advance = 0;
  int left = 0;    // offset of the bitmap's first column
  int bottom = 0;  // offset of its bottom row, upwards
  int width = 0;
  int height = 0;
  std::vector<uint8_t> lit;  // width * height, bottom row first; non-zero is lit

  bool isLit(int column, int rowUp) const {
    return lit[static_cast<std::size_t>(rowUp) * width + column] != 0;
  }
};

struct BitmapFont {
  TextFont font = TextFont::Helvetica12;
  std::array<BitmapGlyph, 256> glyphs;
};

// The fonts a software backend can draw, looked up by their identifier.
using BitmapFontSet = std::vector<BitmapFont>;
