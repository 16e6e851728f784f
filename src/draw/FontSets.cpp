#include "draw/FontSets.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "draw/BuiltInFonts.h"

namespace {

uint32_t littleEndian(const unsigned char* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

}  // namespace

FontSets readFontSets(const unsigned char* bytes, std::size_t size) {
  FontSets sets;
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
  return at == size ? sets : FontSets{};
}

const BitmapFontSet* fontSetAt(const FontSets& sets, double scale) {
  if (!std::isfinite(scale) || scale <= 0.0 || scale > 600.0) return nullptr;
  const auto found = sets.find(static_cast<int>(std::lround(scale * 100.0)));
  return found != sets.end() ? &found->second : nullptr;
}

double scaleWithFonts(double wanted, const FontSets& sets) {
  const long limit = std::lround(wanted * 100.0);
  int best = -1;
  int smallest = 100;
  auto consider = [&](int scale) {
    if (scale <= limit && scale > best) best = scale;
    if (scale < smallest) smallest = scale;
  };
  consider(100);  // the built-in fonts
  for (const auto& set : sets) consider(set.first);
  return (best > 0 ? best : smallest) / 100.0;
}

double nearestTextSize(double scale, const FontSets& sets) {
  if (!std::isfinite(scale)) return 1.0;
  // In hundredths, within what a 32-bit long holds (Windows' long).
  const long wanted = std::lround(std::min(std::max(scale, 0.0), 600.0) * 100.0);
  long best = 100;
  auto consider = [&](long size) {
    if (std::labs(size - wanted) < std::labs(best - wanted)) best = size;
  };
  for (const auto& set : sets) consider(set.first);
  const long largest = sets.empty() ? 100 : std::max(100L, static_cast<long>(sets.rbegin()->first));
  const long magnified = (wanted + 50) / 100 * 100;
  if (magnified > largest) consider(magnified);
  return best / 100.0;
}
