// The browser's side of draw/ScaledFonts.h: the fonts come compiled in,
// rasterized on the desktop, as the browser build has no FreeType.
#include "platform/web/WebScaledFonts.h"

#include <cmath>
#include <string>

#include "draw/ScaledFonts.h"
#include "platform/web/FontSets.h"

extern const unsigned char kScaledFontsData[];
extern const std::size_t kScaledFontsDataSize;

namespace {

const FontSets& compiledIn() {
  static const FontSets sets = readFontSets(kScaledFontsData, kScaledFontsDataSize);
  return sets;
}

const BitmapFontSet* find(double scale) {
  const auto found = compiledIn().find(static_cast<int>(std::lround(scale * 100.0)));
  return found != compiledIn().end() ? &found->second : nullptr;
}

}  // namespace

double webScaleAtMost(double wanted) {
  return scaleWithFonts(wanted, compiledIn());
}

BitmapFontSet rasterizeFonts(double scale, std::string& problem) {
  if (const BitmapFontSet* fonts = find(scale)) return *fonts;
  problem = "no fonts are compiled in for a scale of " + std::to_string(scale);
  return {};
}

const BitmapFontSet& fontsAtScale(double scale) {
  static const BitmapFontSet none;
  const BitmapFontSet* fonts = std::lround(scale * 100.0) == 100 ? nullptr : find(scale);
  return fonts ? *fonts : none;
}
