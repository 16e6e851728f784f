// Windows carries no font files: at scales of 2 and more text is the
// built-in bitmap fonts magnified; below that, the bitmap fonts as they are.
#include <map>

#include "draw/BuiltInFonts.h"
#include "draw/MagnifiedFonts.h"
#include "draw/ScaledFonts.h"

BitmapFontSet rasterizeFonts(double scale, std::string& problem) {
  BitmapFontSet fonts = magnifyFonts(builtInFonts(), scale);
  if (fonts.empty()) problem = "the built-in fonts are missing";
  return fonts;
}

const BitmapFontSet& fontsAtScale(double scale) {
  static std::map<double, BitmapFontSet> kept;  // a scale or two a process
  static const BitmapFontSet none;
  if (scale < 1.5) return none;
  auto found = kept.find(scale);
  if (found != kept.end()) return found->second;
  std::string problem;
  return kept.emplace(scale, rasterizeFonts(scale, problem)).first->second;
}
