#include "world/Burst.h"

#include <cmath>

#include "app/FrameClock.h"
#include "draw/Animation.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "world/Maths.h"

namespace {
constexpr int kDiscs = 6;
constexpr float kDiscRadius = 12.0f;
}  // namespace

Burst::Burst(Game& owner, float x, float y, float s)
    : WorldObject(owner),
      centre{x, y},
      startTime(FrameClock::seconds()),
      duration((s + 1.0f) * 0.5f),
      size(s) {}

void Burst::draw() {
  const float t = rampIn(startTime, duration);
  const float u = 1.0f - t;
  const float e = 1.0f - u * u * u;  // fast start, slow end

  setAlpha(1.0f - e);
  setColor(0.6f, 0.6f, 0.6f);
  const float d = e * (size * 12.0f + 8.0f);
  for (int i = 0; i < kDiscs; ++i) {
    const float a = static_cast<float>(i) * kTwoPi / kDiscs;
    fillCircle(centre.x + d * maths::cos(a), centre.y + d * maths::sin(a), d + kDiscRadius);
  }
  setAlpha(1.0f);
}

void Burst::update() {
  if (FrameClock::seconds() - startTime >= duration) destroyRequested = true;
}
