#pragma once

#include <cstddef>
#include <map>

#include "draw/BitmapFont.h"

// The browser's fonts at its scales other than 1, as data/fonts/
// scaled-fonts.bin holds them (make fonts rasterizes them on the desktop,
// as the desktop does at run time): "VSF1", a byte with the number of
// sets, then for each its scale in hundredths (16 bits), the length of its
// bytes (32 bits) and the bytes, a bitmap font file; little-endian.
// Keyed by the scale in hundredths; empty when the bytes do not hold that.
using FontSets = std::map<int, BitmapFontSet>;
FontSets readFontSets(const unsigned char* bytes, std::size_t size);

// The scale to draw at: the largest with fonts (1, the built-in ones, or
// one of sets) not above wanted, or the smallest there is.
double scaleWithFonts(double wanted, const FontSets& sets);
