#pragma once

#include <cstddef>

#include "draw/BitmapFont.h"

// The game's three bitmap fonts at a scale of 1 (Helvetica 10 and 12, Times
// Roman 24, as freeglut draws them), compiled in from
// data/fonts/bitmap-fonts.bin, which make fonts writes: every platform's
// software renderer draws text with the same glyphs.
const BitmapFontSet& builtInFonts();

// The file's layout, all numbers little-endian: "VBF1", a byte with the
// number of fonts, then for each font a byte with its TextFont and 256
// glyphs, each 16-bit advance, left and bottom (signed), width and height,
// then its width x height pixels a bit each, bottom row first, eight to a
// byte from the top bit. Empty when the bytes do not hold that.
BitmapFontSet readBitmapFonts(const unsigned char* bytes, std::size_t size);
