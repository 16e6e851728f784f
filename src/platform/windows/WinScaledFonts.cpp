// Windows carries no font files and no rasterizer: text is drawn with the
// fonts compiled in at the browser's scales, rasterized as Linux rasterizes
// them at run time, so that the same scale shows the same letters; at the
// nearest of those sizes to the window's scale, or past the largest with
// the built-in glyphs magnified by a whole factor.
#include "platform/windows/WinScaledFonts.h"

#include <map>

#include "draw/BuiltInFonts.h"
#include "draw/FontSets.h"
#include "draw/MagnifiedFonts.h"
#include "draw/ScaledFonts.h"

BitmapFontSet rasterizeFonts(double scale, std::string& problem) {
  if (const BitmapFontSet* fonts = fontSetAt(compiledInFontSets(), scale)) return *fonts;
  BitmapFontSet fonts = magnifyFonts(builtInFonts(), scale);
  if (fonts.empty()) problem = "the built-in fonts are missing";
  return fonts;
}

double textScaleAt(double scale) {
  return nearestTextSize(scale, compiledInFontSets());
}

const BitmapFontSet& fontsAtScale(double scale) {
  static std::map<double, BitmapFontSet> magnified;  // a size or two a process
  static const BitmapFontSet none;
  const double size = textScaleAt(scale);
  if (size == 1.0) return none;
  if (const BitmapFontSet* fonts = fontSetAt(compiledInFontSets(), size)) return *fonts;
  auto found = magnified.find(size);
  if (found != magnified.end()) return found->second;
  return magnified.emplace(size, magnifyFonts(builtInFonts(), size)).first->second;
}
