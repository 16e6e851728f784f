#include "draw/PixelBlend.h"

#include <algorithm>

namespace {

float unit(float v) {
  return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;  // NaN fails both tests: 0
}

uint32_t channel(float v) {
  return static_cast<uint32_t>(unit(v) * 255.0f + 0.5f);
}

}  // namespace

Paint paintOf(float r, float g, float b, float a) {
  Paint p;
  p.rgb = channel(r) << 16 | channel(g) << 8 | channel(b);
  p.alpha = static_cast<int>(unit(a) * 256.0f + 0.5f);
  return p;
}

void paintSpan(uint32_t* dst, int count, uint32_t rgb, int alpha) {
  if (count <= 0 || alpha <= 0) return;
  if (alpha >= 256) {
    std::fill_n(dst, count, rgb);
    return;
  }
  // A plain loop of the same arithmetic on every pixel: the compiler turns
  // it into vector code, which is what makes the large veils cheap.
  const uint32_t a = static_cast<uint32_t>(alpha);
  const uint32_t na = 256 - a;
  const uint32_t srb = (rgb & 0xFF00FFu) * a + 0x800080u;
  const uint32_t sg = (rgb & 0x00FF00u) * a + 0x008000u;
  for (int i = 0; i < count; ++i) {
    const uint32_t d = dst[i];
    const uint32_t rb = ((d & 0xFF00FFu) * na + srb) >> 8;
    const uint32_t g = ((d & 0x00FF00u) * na + sg) >> 8;
    dst[i] = (rb & 0xFF00FFu) | (g & 0x00FF00u);
  }
}
