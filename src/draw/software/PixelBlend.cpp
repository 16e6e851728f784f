#include "draw/software/PixelBlend.h"

#include <algorithm>
#include <cstring>

// The span loops are most of a large window's frame: where the processor
// has AVX2 they run in its wider registers, to the same results. The choice
// is made when the program loads (an ifunc), which Windows' loader lacks,
// and before ThreadSanitizer has started, which a build checked by it
// does not survive.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(_WIN32) && \
    !defined(__SANITIZE_THREAD__)
#define WIDE_SPANS __attribute__((target_clones("avx2", "default")))
#else
#define WIDE_SPANS
#endif

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

WIDE_SPANS void SpanPainter::run(uint32_t* dst, int count) const {
  if (count <= 0 || alpha_ <= 0) return;
  if (alpha_ >= 256) {
    // Four pixels a store: a plain fill is left a pixel at a time.
    using Four = uint32_t __attribute__((vector_size(16)));
    const Four four = {rgb_, rgb_, rgb_, rgb_};
    int i = 0;
    for (; i + 4 <= count; i += 4) std::memcpy(dst + i, &four, sizeof four);
    for (; i < count; ++i) dst[i] = rgb_;
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

namespace {

// Four pixels of a kept picture over four of a frame.
inline void compositeFour(uint32_t* dst, const uint32_t* picture) {
  using Bytes = uint8_t __attribute__((vector_size(16)));
  using Lanes = uint16_t __attribute__((vector_size(32)));
  // Each pixel's alpha byte in all four of its lanes.
  constexpr int a = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? 3 : 0;
  const uint8_t x = 0xFF;
  const Bytes frameBytes = a == 3 ? Bytes{x, x, x, 0, x, x, x, 0, x, x, x, 0, x, x, x, 0}
                                  : Bytes{0, x, x, x, 0, x, x, x, 0, x, x, x, 0, x, x, x};
  Bytes over;
  std::memcpy(&over, picture, sizeof over);
  uint64_t any[2];
  std::memcpy(any, &over, sizeof any);
  if ((any[0] | any[1]) == 0) return;  // the picture's empty corners
  // Opaque pixels hide what is under them: the blend below would give
  // the picture's own, so it is stored as it is.
  constexpr uint64_t kAlphas = 0xFF000000FF000000ull;  // either byte order
  if ((any[0] & any[1] & kAlphas) == kAlphas) {
    over &= frameBytes;
    std::memcpy(dst, &over, sizeof over);
    return;
  }
  Bytes under;
  std::memcpy(&under, dst, sizeof under);
  const Lanes alpha = __builtin_convertvector(
      __builtin_shufflevector(over, over, a, a, a, a, 4 + a, 4 + a, 4 + a, 4 + a, 8 + a, 8 + a, 8 + a, 8 + a,
                              12 + a, 12 + a, 12 + a, 12 + a),
      Lanes);
  // 255 - alpha on the 0..256 scale the blends use.
  const Lanes keep = 256 - (alpha + (alpha >> 7));
  Lanes out =
      ((__builtin_convertvector(under, Lanes) * keep + 128) >> 8) + __builtin_convertvector(over, Lanes);
  out = out < 256 ? out : 255;                               // rounding must not carry a channel over
  under = __builtin_convertvector(out, Bytes) & frameBytes;  // a frame's pixels keep no alpha
  std::memcpy(dst, &under, sizeof under);
}

}  // namespace

WIDE_SPANS void compositeRows(uint32_t* dst, size_t dstStride, const uint32_t* picture, size_t pictureStride,
                              int width, int height) {
  for (int y = 0; y < height; ++y, dst += dstStride, picture += pictureStride) {
    int i = 0;
    for (; i + 4 <= width; i += 4) compositeFour(dst + i, picture + i);
    if (i == width) continue;
    // The last few through the same four lanes, the picture's missing
    // pixels blank, which leave the frame as it is.
    uint32_t under[4] = {};
    uint32_t over[4] = {};
    const int rest = width - i;
    for (int k = 0; k < rest; ++k) under[k] = dst[i + k], over[k] = picture[i + k];
    compositeFour(under, over);
    for (int k = 0; k < rest; ++k) dst[i + k] = under[k];
  }
}

WIDE_SPANS void coverSpan(uint32_t* dst, const uint8_t* coverage, int count, uint32_t rgb) {
  using Lanes = uint16_t __attribute__((vector_size(32)));
  using Bytes = uint8_t __attribute__((vector_size(16)));
  const SpanPainter colour(rgb, 256);
  Lanes source;
  for (int i = 0; i < 16; ++i) {
    const int byte = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? i & 3 : 3 - (i & 3);
    source[i] = static_cast<uint16_t>((rgb >> (8 * byte)) & 0xFFu);
  }
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    uint32_t four;
    std::memcpy(&four, coverage + i, sizeof four);
    if (four == 0) continue;  // the shadow's empty corners
    Bytes c{};
    std::memcpy(&c, &four, sizeof four);
    // Each pixel's coverage in all four of its lanes, on the 0..256 scale.
    Lanes a = __builtin_convertvector(
        __builtin_shufflevector(c, c, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3), Lanes);
    a += a >> 7;
    Bytes under;
    std::memcpy(&under, dst + i, sizeof under);
    const Lanes out = (source * a + __builtin_convertvector(under, Lanes) * (256 - a) + 128) >> 8;
    under = __builtin_convertvector(out, Bytes);
    std::memcpy(dst + i, &under, sizeof under);
  }
  for (; i < count; ++i) colour.pixelAt(dst[i], coverage[i] + (coverage[i] >> 7));
}
