// The game's three fonts drawn at a scale other than 1, with FreeType.
#pragma once

#include <string>

#include "draw/BitmapFont.h"

// Helvetica 10 and 12 and Times Roman 24 at `scale` times their pixel
// sizes, from the URW fonts that share their metrics (Nimbus Sans, Nimbus
// Roman), rasterized once into one-bit glyphs, as crisp as the bitmap fonts
// are at 1; advances are whole pixels. Empty, with the reason, when the
// fonts cannot be read.
BitmapFontSet rasterizeFonts(double scale, std::string& problem);

// The fonts for a scale: rasterized on first use and kept for the process.
// At a scale of 1 empty: the bitmap fonts themselves are used there.
const BitmapFontSet& fontsAtScale(double scale);
