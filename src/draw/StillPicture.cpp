#include "draw/StillPicture.h"

#include <cmath>
#include <cstring>

#include "world/Maths.h"

uint64_t pictureDigest(std::initializer_list<float> values, uint64_t seed) {
  uint64_t h = seed;
  for (const float v : values) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 4; ++i) {
      h ^= (bits >> (8 * i)) & 0xFFu;
      h *= 1099511628211ull;
    }
  }
  return h;
}

StillPicture::StillPicture(const PictureKey& key, const Rect& bounds)
    : entry_(pen()), drawing_(drawBackend().beginPicture(key, bounds)) {}

StillPicture::~StillPicture() {
  if (drawing_) drawBackend().endPicture();
  restorePen(entry_);
}

ShadowPicture::ShadowPicture(uint64_t owner, uint64_t state, const Rect& bounds, float lightX, float lightY)
    : light_(roundedLight(owner, lightX, lightY)),
      picture_({owner, PictureKind::Shadow, pictureDigest({light_.x, light_.y}, state), state},
               shadowReach(bounds, light_)) {}

Vec2 ShadowPicture::roundedLight(uint64_t owner, float lightX, float lightY) {
  const float step = drawBackend().shadowLightStep();
  if (!(step > 0.0f)) return {lightX, lightY};
  // Each object rounds on a grid of its own, so that the shadows of a
  // crowded field are drawn anew a few at a time, not all in one frame.
  const float shift = step * static_cast<float>((owner * 0x9E3779B97F4A7C15ull) >> 40) / 16777216.0f;
  const auto round = [&](float v) { return std::round((v + shift) / step) * step - shift; };
  return {round(lightX), round(lightY)};
}

Rect shadowReach(const Rect& b, Vec2 light) {
  // A shadow moves away from the light by 0.05 of the distance, so a side
  // reaches as far as it would moved from its own place, and grows by 0.015
  // of it, at most that of the farthest corner; two more units cover the
  // smoothed edges and the rounding of the offset.
  float far = 0.0f;
  for (const float x : {b.minX, b.maxX}) {
    for (const float y : {b.minY, b.maxY}) far = std::fmax(far, maths::hypot(x - light.x, y - light.y));
  }
  const float grow = 0.015f * far + 2.0f;
  const auto low = [](float side, float l) { return side + std::fmin(0.0f, 0.05f * (side - l)); };
  const auto high = [](float side, float l) { return side + std::fmax(0.0f, 0.05f * (side - l)); };
  return Rect{low(b.minX, light.x) - grow, high(b.maxX, light.x) + grow, low(b.minY, light.y) - grow,
              high(b.maxY, light.y) + grow};
}
