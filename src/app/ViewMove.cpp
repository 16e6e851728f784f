#include "app/ViewMove.h"

#include <algorithm>

namespace {
float clampAxis(float lowest, float highest, float zoom, float at) {
  const float middle = lowest + (highest - lowest) * 0.5f;
  if (!(zoom > 1.0f)) return middle;
  const float half = (highest - lowest) * 0.5f / zoom;
  return std::clamp(at, lowest + half, highest - half);
}
}  // namespace

Vec2 clampViewCentre(const Rect& field, float zoom, Vec2 centre) {
  return {clampAxis(field.minX, field.maxX, zoom, centre.x),
          clampAxis(field.minY, field.maxY, zoom, centre.y)};
}
