#include "draw/MagnifiedFonts.h"

#include <cmath>

namespace {

BitmapGlyph magnify(const BitmapGlyph& glyph, int factor) {
  BitmapGlyph big;
  big.advance = glyph.advance * factor;
  big.left = glyph.left * factor;
  big.bottom = glyph.bottom * factor;
  big.width = glyph.width * factor;
  big.height = glyph.height * factor;
  big.lit.assign(static_cast<std::size_t>(big.width) * big.height, 0);
  for (int row = 0; row < big.height; ++row) {
    for (int column = 0; column < big.width; ++column) {
      big.lit[static_cast<std::size_t>(row) * big.width + column] =
          glyph.isLit(column / factor, row / factor) ? 1 : 0;
    }
  }
  return big;
}

}  // namespace

BitmapFontSet magnifyFonts(const BitmapFontSet& fonts, double scale) {
  const int factor = std::isfinite(scale) && scale >= 1.5 ? static_cast<int>(std::lround(scale)) : 1;
  BitmapFontSet out = fonts;
  if (factor == 1) return out;
  for (BitmapFont& font : out) {
    for (BitmapGlyph& glyph : font.glyphs) glyph = magnify(glyph, factor);
  }
  return out;
}
