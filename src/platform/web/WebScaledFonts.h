#pragma once

#include <cstddef>
#include <map>

#include "draw/BitmapFont.h"

// The browser's fonts at its scales other than 1, compiled in from
// data/fonts/scaled-fonts.bin (make fonts rasterizes them on the desktop,
// as the desktop does at run time): "VSF1", a byte with the number of sets,
// then for each its scale in hundredths (16 bits), the length of its bytes
// (32 bits) and the bytes, a bitmap font file; little-endian. Keyed by the
// scale in hundredths; empty when the bytes do not hold that.
std::map<int, BitmapFontSet> readScaledFonts(const unsigned char* bytes, std::size_t size);

// The scale to draw at on a page: the largest with fonts of its own (1 or
// one of the compiled-in ones) not above wanted, or the smallest there is.
double webScaleAtMost(double wanted);
