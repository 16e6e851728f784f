// The fonts at the browser's scales, compiled in for the builds that cannot
// rasterize fonts at run time; only those builds link this file and the
// bytes it reads.
#include "draw/FontSets.h"

extern const unsigned char kScaledFontsData[];
extern const std::size_t kScaledFontsDataSize;

const FontSets& compiledInFontSets() {
  static const FontSets sets = readFontSets(kScaledFontsData, kScaledFontsDataSize);
  return sets;
}
