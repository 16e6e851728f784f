#pragma once

#include <cstdint>

// Source-alpha blending on 0x00RRGGBB pixels with 8-bit channels. Alpha is
// an integer from 0 (nothing) to 256 (opaque), so that the two channel
// pairs of a pixel blend in two multiplies.

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
  const uint32_t g = ((src & 0x00FF00u) * a + (dst & 0x00FF00u) * na + 0x008000u) >> 8;
  return (rb & 0xFF00FFu) | (g & 0x00FF00u);
}

// count pixels from dst, all at the paint's alpha.
void paintSpan(uint32_t* dst, int count, uint32_t rgb, int alpha);
