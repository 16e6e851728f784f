// Rasterizing the URW fonts into the bitmap glyphs both renderers lay on.
#include "draw/ScaledFonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <map>

namespace {

struct ScaledFont {
  TextFont font;
  const char* family;  // the file name's stem
  int pixels;          // the bitmap font's size at a scale of 1
};

const ScaledFont kFonts[] = {{TextFont::Helvetica10, "NimbusSans-Regular", 10},
                             {TextFont::Helvetica12, "NimbusSans-Regular", 12},
                             {TextFont::TimesRoman24, "NimbusRoman-Regular", 24}};

// Where Debian's fonts-urw-base35 puts them: OpenType, else Type 1.
const char* const kFontPlaces[] = {"/usr/share/fonts/opentype/urw-base35/%s.otf",
                                   "/usr/share/fonts/type1/urw-base35/%s.t1"};

FT_Face openFace(FT_Library library, const char* family) {
  for (const char* place : kFontPlaces) {
    char path[256];
    std::snprintf(path, sizeof path, place, family);
    FT_Face face = nullptr;
    if (FT_New_Face(library, path, 0, &face) == 0) return face;
  }
  return nullptr;
}

void readGlyph(FT_GlyphSlot slot, BitmapGlyph& glyph) {
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph.advance = static_cast<int>(std::lround(slot->advance.x / 64.0));
  glyph.left = slot->bitmap_left;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.height = static_cast<int>(bitmap.rows);
  glyph.bottom = slot->bitmap_top - glyph.height;
  glyph.lit.assign(static_cast<size_t>(glyph.width) * glyph.height, 0);
  if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return;
  for (int row = 0; row < glyph.height; ++row) {
    const unsigned char* bits = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    const int rowUp = glyph.height - 1 - row;
    for (int column = 0; column < glyph.width; ++column) {
      glyph.lit[static_cast<size_t>(rowUp) * glyph.width + column] =
          (bits[column / 8] >> (7 - column % 8)) & 1;
    }
  }
}

bool rasterize(FT_Library library, const ScaledFont& which, double scale, BitmapFont& font,
               std::string& problem) {
  FT_Face face = openFace(library, which.family);
  if (!face) {
    problem = std::string("the font ") + which.family + " is not installed (fonts-urw-base35)";
    return false;
  }
  font.font = which.font;
  const auto pixels = static_cast<FT_UInt>(std::max(1L, std::lround(which.pixels * scale)));
  bool ok = FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0 && FT_Set_Pixel_Sizes(face, 0, pixels) == 0;
  // Latin-1 codes are their Unicode code points; a code the font lacks
  // draws nothing and takes no room, as the control codes.
  for (int c = 1; ok && c < 256; ++c) {
    const FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(c));
    if (index == 0) continue;
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
    readGlyph(face->glyph, font.glyphs[static_cast<size_t>(c)]);
  }
  if (!ok) problem = std::string("the font ") + which.family + " cannot be set to its size";
  FT_Done_Face(face);
  return ok;
}

}  // namespace

BitmapFontSet rasterizeFonts(double scale, std::string& problem) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    problem = "FreeType does not start";
    return {};
  }
  BitmapFontSet fonts(std::size(kFonts));
  bool ok = true;
  for (size_t i = 0; ok && i < fonts.size(); ++i)
    ok = rasterize(library, kFonts[i], scale, fonts[i], problem);
  FT_Done_FreeType(library);
  return ok ? fonts : BitmapFontSet{};
}

const BitmapFontSet& fontsAtScale(double scale) {
  static std::map<double, BitmapFontSet> kept;  // a scale or two a process
  static const BitmapFontSet none;
  if (scale == 1.0) return none;
  auto found = kept.find(scale);
  if (found != kept.end()) return found->second;
  std::string problem;
  BitmapFontSet fonts = rasterizeFonts(scale, problem);
  if (fonts.empty()) std::fprintf(stderr, "verlomba: text is drawn at its usual size: %s\n", problem.c_str());
  return kept.emplace(scale, std::move(fonts)).first->second;
}
