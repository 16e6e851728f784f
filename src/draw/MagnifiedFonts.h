// The built-in bitmap fonts drawn larger without a font rasterizer.
#pragma once

#include "draw/BitmapFont.h"

// Each glyph of fonts blown up by the whole factor nearest to scale (at
// least 1), pixel by pixel: blockier than fonts rasterized at the size, but
// the same letters, with the same proportions and lines of text as high as
// the window's. For platforms that carry no font files.
BitmapFontSet magnifyFonts(const BitmapFontSet& fonts, double scale);
