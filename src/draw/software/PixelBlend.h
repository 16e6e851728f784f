#pragma once

#include <cstddef>
#include <cstdint>

// Source-alpha blending on 32-bit pixels with 8-bit channels. A frame's
// pixels are 0x00RRGGBB; a kept picture's are premultiplied 0xAARRGGBB,
// drawn with sources of alpha byte 0xFF, so the same blend builds its
// coverage in the top byte. Alpha is an integer from 0 (nothing) to 256
// (opaque), so that a channel blends in one multiply-add and a shift.

struct Paint {
  uint32_t rgb = 0;
  int alpha = 256;
};

// Channels and alpha clamped to [0, 1] as OpenGL clamps them; NaN counts as 0.
Paint paintOf(float r, float g, float b, float a);

// dst * (256 - a) + src * a, over 256 and rounded, on every channel.
inline uint32_t blendPixel(uint32_t dst, uint32_t src, uint32_t a) {
  const uint32_t na = 256 - a;
  const uint32_t rb = ((src & 0xFF00FFu) * a + (dst & 0xFF00FFu) * na + 0x800080u) >> 8;
  const uint32_t ag = ((src >> 8 & 0xFF00FFu) * a + (dst >> 8 & 0xFF00FFu) * na + 0x800080u) >> 8;
  return (rb & 0xFF00FFu) | (ag & 0xFF00FFu) << 8;
}

// A kept picture laid over a frame: dst * (255 - alpha) / 255 + picture on
// every channel, the picture's pixels premultiplied 0xAARRGGBB; the frame's
// pixels stay 0x00RRGGBB. Rows of width pixels, strides apart.
void compositeRows(uint32_t* dst, size_t dstStride, const uint32_t* picture, size_t pictureStride, int width,
                   int height);

// One colour (0x00RRGGBB) laid over a frame by a coverage per pixel (0..255).
void coverSpan(uint32_t* dst, const uint8_t* coverage, int count, uint32_t rgb);

// One paint laid on pixels: whole runs at its alpha, or single pixels at its
// alpha times a coverage. Made once per shape, used for every row of it.
class SpanPainter {
 public:
  SpanPainter(uint32_t rgb, int alpha);

  uint32_t rgb() const { return rgb_; }
  int alpha() const { return alpha_; }
  // count pixels from dst, all at the paint's alpha.
  void run(uint32_t* dst, int count) const;
  // One pixel at the paint's alpha times coverage in [0, 1].
  void pixel(uint32_t& dst, float coverage) const {
    pixelAt(dst, static_cast<int>(coverage * scale_ + 0.5f));
  }
  // One pixel at an alpha of its own, 0..256.
  void pixelAt(uint32_t& dst, int alpha) const {
    if (alpha >= 256) {
      dst = rgb_;
    } else if (alpha > 0) {
      dst = blendPixel(dst, rgb_, static_cast<uint32_t>(alpha));
    }
  }

 private:
  using Lanes = uint16_t __attribute__((vector_size(32)));

  uint32_t rgb_;
  int alpha_;
  float scale_;
  uint16_t inverse_;  // 256 - alpha
  Lanes source_;      // each channel of four pixels times alpha, plus a half for rounding
};

// count pixels from dst, all at alpha.
inline void paintSpan(uint32_t* dst, int count, uint32_t rgb, int alpha) {
  SpanPainter(rgb, alpha).run(dst, count);
}
