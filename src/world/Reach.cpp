#include "world/Reach.h"

#include <algorithm>
#include <cmath>

Rect reachAround(const Rect& b, float distance) {
  for (float v : {b.minX, b.maxX, b.minY, b.maxY, distance}) {
    if (!std::isfinite(v)) return kEverywhere;
  }
  if (distance < 0.0f || b.minX > b.maxX || b.minY > b.maxY) return kEverywhere;
  const float scale =
      std::max({std::fabs(b.minX), std::fabs(b.maxX), std::fabs(b.minY), std::fabs(b.maxY), distance});
  // Far more than the few ulps by which the tests' floats can stray.
  const float m = distance + 1.0f + 1e-4f * scale;
  return {b.minX - m, b.maxX + m, b.minY - m, b.maxY + m};
}

Rect reachAround(Vec2 c, float distance) {
  return reachAround(Rect{c.x, c.x, c.y, c.y}, distance);
}

Rect unite(const Rect& a, const Rect& b) {
  return {std::min(a.minX, b.minX), std::max(a.maxX, b.maxX), std::min(a.minY, b.minY),
          std::max(a.maxY, b.maxY)};
}

bool isNowhere(const Rect& r) {
  return r.minX > r.maxX || r.minY > r.maxY;
}
