#pragma once

#include <string>

#include "draw/BitmapFont.h"

// The bytes of a bitmap font file, in the layout readBitmapFonts reads
// (draw/BuiltInFonts.h).
std::string writeBitmapFonts(const BitmapFontSet& fonts);
