#include "draw/PixelBlend.h"

#include <algorithm>
#include <cstring>

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

SpanPainter::SpanPainter(uint32_t rgb, int alpha)
    : rgb_(rgb),
      alpha_(std::clamp(alpha, 0, 256)),
      scale_(static_cast<float>(alpha_)),
      inverse_(static_cast<uint16_t>(256 - alpha_)) {
  // The channels in the order a pixel holds them in memory, times alpha,
  // plus a half for rounding; made for every row of some shapes, so cheap.
  const bool little = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;
  uint16_t c[4];
  for (int byte = 0; byte < 4; ++byte) {
    const int shift = 8 * (little ? byte : 3 - byte);
    c[byte] = static_cast<uint16_t>(((rgb >> shift) & 0xFFu) * static_cast<uint32_t>(alpha_) + 128u);
  }
  source_ =
      Lanes{c[0], c[1], c[2], c[3], c[0], c[1], c[2], c[3], c[0], c[1], c[2], c[3], c[0], c[1], c[2], c[3]};
}

void SpanPainter::run(uint32_t* dst, int count) const {
  if (count <= 0 || alpha_ <= 0) return;
  if (alpha_ >= 256) {
    std::fill_n(dst, count, rgb_);
    return;
  }
  // Four pixels at a time, a channel in each 16-bit lane: the large veils
  // over the whole field are this loop, and vector code makes them cheap.
  using Bytes = uint8_t __attribute__((vector_size(16)));
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    Bytes bytes;
    std::memcpy(&bytes, dst + i, sizeof bytes);
    const Lanes blended = (__builtin_convertvector(bytes, Lanes) * inverse_ + source_) >> 8;
    bytes = __builtin_convertvector(blended, Bytes);
    std::memcpy(dst + i, &bytes, sizeof bytes);
  }
  for (; i < count; ++i) dst[i] = blendPixel(dst[i], rgb_, static_cast<uint32_t>(alpha_));
}
