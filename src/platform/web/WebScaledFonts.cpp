// The browser's side of draw/ScaledFonts.h: the fonts come compiled in,
// rasterized on the desktop, as the browser build has no FreeType.
#include "platform/web/WebScaledFonts.h"

#include <cmath>
#include <string>

#include "draw/FontSets.h"
#include "draw/ScaledFonts.h"

double webScaleAtMost(double wanted) {
  return scaleWithFonts(wanted, compiledInFontSets());
}

BitmapFontSet rasterizeFonts(double scale, std::string& problem) {
  if (const BitmapFontSet* fonts = fontSetAt(compiledInFontSets(), scale)) return *fonts;
  problem = "no fonts are compiled in for a scale of " + std::to_string(scale);
  return {};
}

const BitmapFontSet& fontsAtScale(double scale) {
  static const BitmapFontSet none;
  const BitmapFontSet* fonts =
      std::lround(scale * 100.0) == 100 ? nullptr : fontSetAt(compiledInFontSets(), scale);
  return fonts ? *fonts : none;
}
