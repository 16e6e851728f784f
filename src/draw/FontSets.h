#pragma once

#include <cstddef>
#include <map>

#include "draw/BitmapFont.h"

// The fonts at the browser's scales other than 1, rasterized on the desktop
// (make fonts) as the desktop rasterizes them at run time, for the builds
// that have no FreeType. data/fonts/scaled-fonts.bin holds them: "VSF1", a
// byte with the number of sets, then for each its scale in hundredths (16
// bits), the length of its bytes (32 bits) and the bytes, a bitmap font
// file; little-endian. Keyed by the scale in hundredths; empty when the
// bytes do not hold that.
using FontSets = std::map<int, BitmapFontSet>;
FontSets readFontSets(const unsigned char* bytes, std::size_t size);

// The set for exactly this scale (to the hundredth), or null.
const BitmapFontSet* fontSetAt(const FontSets& sets, double scale);

// The scale to draw at: the largest with fonts (1, the built-in ones, or
// one of sets) not above wanted, or the smallest there is.
double scaleWithFonts(double wanted, const FontSets& sets);

// The size to draw text at in a window of the given scale, where the window
// keeps its scale: the nearest of 1 (the built-in fonts), the sizes of sets
// and, past the largest of those, the whole factors the built-in fonts can
// be magnified by (magnifyFonts); at equal distances the smaller, so a set
// rather than the blockier magnified glyphs.
double nearestTextSize(double scale, const FontSets& sets);

// The sets compiled into the program (CompiledInFonts.cpp, which only the
// builds without FreeType link).
const FontSets& compiledInFontSets();
