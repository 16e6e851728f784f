#include "fonts/BitmapFontWriter.h"

namespace {

void put16(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

}  // namespace

std::string writeBitmapFonts(const BitmapFontSet& fonts) {
  std::string out = "VBF1";
  out += static_cast<char>(fonts.size());
  for (const BitmapFont& font : fonts) {
    out += static_cast<char>(font.font);
    for (const BitmapGlyph& glyph : font.glyphs) {
      for (int value : {glyph.advance, glyph.left, glyph.bottom, glyph.width, glyph.height})
        put16(out, value);
      std::string bits((glyph.lit.size() + 7) / 8, '\0');
      for (std::size_t i = 0; i < glyph.lit.size(); ++i) {
        if (glyph.lit[i]) bits[i / 8] = static_cast<char>(bits[i / 8] | 0x80 >> (i % 8));
      }
      out += bits;
    }
  }
  return out;
}
