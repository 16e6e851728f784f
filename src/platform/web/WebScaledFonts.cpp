// The browser's side of draw/ScaledFonts.h: the fonts come compiled in.
#include "platform/web/WebScaledFonts.h"

#include <cmath>
#include <string>

#include "draw/BuiltInFonts.h"
#include "draw/ScaledFonts.h"

extern const unsigned char kScaledFontsData[];
extern const std::size_t kScaledFontsDataSize;

namespace {

uint32_t littleEndian(const unsigned char* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

const std::map<int, BitmapFontSet>& compiledIn() {
  static const std::map<int, BitmapFontSet> sets = readScaledFonts(kScaledFontsData, kScaledFontsDataSize);
  return sets;
}

int hundredths(double scale) {
  return static_cast<int>(std::lround(scale * 100.0));
}

}  // namespace

std::map<int, BitmapFontSet> readScaledFonts(const unsigned char* bytes, std::size_t size) {
  std::map<int, BitmapFontSet> sets;
  if (size < 5 || std::string(reinterpret_cast<const char*>(bytes), 4) != "VSF1") return {};
  const int count = bytes[4];
  std::size_t at = 5;
  for (int i = 0; i < count; ++i) {
    if (size - at < 6) return {};
    const int scale = static_cast<int>(littleEndian(bytes + at, 2));
    const std::size_t length = littleEndian(bytes + at + 2, 4);
    at += 6;
    if (length > size - at) return {};
    BitmapFontSet fonts = readBitmapFonts(bytes + at, length);
    if (fonts.empty()) return {};
    sets[scale] = std::move(fonts);
    at += length;
  }
  return at == size ? sets : std::map<int, BitmapFontSet>{};
}

double webScaleAtMost(double wanted) {
  const int limit = hundredths(wanted);
  int best = -1;
  int smallest = 100;
  auto consider = [&](int scale) {
    if (scale <= limit && scale > best) best = scale;
    if (scale < smallest) smallest = scale;
  };
  consider(100);  // the built-in fonts
  for (const auto& set : compiledIn()) consider(set.first);
  return (best > 0 ? best : smallest) / 100.0;
}

BitmapFontSet rasterizeFonts(double scale, std::string& problem) {
  const auto found = compiledIn().find(hundredths(scale));
  if (found != compiledIn().end()) return found->second;
  problem = "no fonts are compiled in for a scale of " + std::to_string(scale);
  return {};
}

const BitmapFontSet& fontsAtScale(double scale) {
  static const BitmapFontSet none;
  if (hundredths(scale) == 100) return none;
  const auto found = compiledIn().find(hundredths(scale));
  return found != compiledIn().end() ? found->second : none;
}
