#include "world/Geometry.h"

#include <cmath>

#include "world/Maths.h"
#include "world/Random.h"

// Trigonometry runs in double on the float inputs and is rounded to float
// where a value is stored, so results do not depend on which overload of a
// maths function the compiler happens to pick.

namespace {
constexpr double kPiD = 3.14159265358979323846;
constexpr double kTwoPiD = 2.0 * kPiD;

float heading(Vec2 v) {
  return static_cast<float>(maths::atan2(static_cast<double>(v.y), static_cast<double>(v.x)));
}
}  // namespace

// --- Vec2 -------------------------------------------------------------------

// The length in double from exact squares, rounded once to float: the
// costliest single function of a crowded tick, so kept this plain.
float length(float dx, float dy) {
  return maths::hypot(dx, dy);
}

float length(Vec2 v) {
  return length(v.x, v.y);
}

float distanceTo(Vec2 p, float x, float y) {
  return length(x - p.x, y - p.y);
}

void rotateBy(Vec2& v, float a) {
  const float len = length(v);
  const float t = heading(v);
  const maths::SinCos turned = maths::sinCos(static_cast<double>(t + a));
  v.x = static_cast<float>(len * turned.cos);
  v.y = static_cast<float>(len * turned.sin);
}

void setPolar(Vec2& v, float angle, float len) {
  const maths::SinCos at = maths::sinCos(static_cast<double>(angle));
  v.x = static_cast<float>(len * at.cos);
  v.y = static_cast<float>(len * at.sin);
}

void setPolarAround(Vec2& v, float cx, float cy, float angle, float len) {
  const maths::SinCos at = maths::sinCos(static_cast<double>(angle));
  v.x = static_cast<float>(cx + len * at.cos);
  v.y = static_cast<float>(cy + len * at.sin);
}

void clampLength(Vec2& v, float maximum) {
  const float len = length(v);
  if (len > maximum) scaleBy(v, maximum / len);
}

Vec2 unitVector(float angle) {
  const maths::SinCos at = maths::sinCos(static_cast<double>(angle));
  return {static_cast<float>(at.cos), static_cast<float>(at.sin)};
}

float angleDelta(float a, float b) {
  // In float throughout, so a turn of exactly pi stays pi: an agent facing
  // straight away from where it is steered does not step forward.
  const float from = std::fmod(a, kTwoPi);
  const float to = std::fmod(b, kTwoPi);
  float d = to - from;
  if (d > kPi) {
    d -= kTwoPi;
  } else if (d < -kPi) {
    d += kTwoPi;
  }
  return d;
}

float angleBetween(Vec2 u, Vec2 v) {
  float a = heading(u);
  float b = heading(v);
  const float direct = std::fabs(a - b);
  if (direct < kPiD) return direct;
  // The short way crosses the +-pi seam: compare both on [0, 2pi) instead.
  if (a < 0.0f) a = static_cast<float>(a + kTwoPiD);
  if (b < 0.0f) b = static_cast<float>(b + kTwoPiD);
  return std::fabs(a - b);
}

float distanceToSegment(Vec2 p, Vec2 a, Vec2 b) {
  const Vec2 fromA = p - a;
  const float atA = angleBetween(fromA, b - a);
  if (atA >= kPiD / 2.0) return length(fromA);
  const Vec2 fromB = p - b;
  if (angleBetween(fromB, a - b) >= kPiD / 2.0) return length(fromB);
  return static_cast<float>(length(fromA) * maths::sin(static_cast<double>(atA)));
}

float projectOntoLine(Vec2& p, Vec2 a, float t, float* perpendicular) {
  Vec2 local = p - a;
  rotateBy(local, -t);
  if (perpendicular) *perpendicular = std::fabs(local.y);
  const float along = local.x;
  local.y = 0.0f;
  rotateBy(local, t);
  p = local + a;
  return along;
}

float nearestOnSegment(Vec2& p, Vec2 a, Vec2 b) {
  const float span = length(b - a);
  const float t = heading(b - a);
  const Vec2 start = p;
  float perpendicular = 0.0f;
  const float along = projectOntoLine(p, a, t, &perpendicular);
  if (along < 0.0f) {
    p = a;
    return length(start - a);
  }
  if (along > span) {
    p = b;
    return length(start - b);
  }
  return perpendicular;
}

// --- Rect -------------------------------------------------------------------

RectCorners corners(const Rect& r) {
  return {{{r.minX, r.minY}, {r.maxX, r.minY}, {r.maxX, r.maxY}, {r.minX, r.maxY}}};
}

bool contains(const Rect& r, float x, float y) {
  return r.minX <= x && x <= r.maxX && r.minY <= y && y <= r.maxY;
}

Vec2 clampPoint(const Rect& r, float x, float y) {
  Vec2 p{x, y};
  if (p.x < r.minX) p.x = r.minX;
  if (p.x > r.maxX) p.x = r.maxX;
  if (p.y < r.minY) p.y = r.minY;
  if (p.y > r.maxY) p.y = r.maxY;
  return p;
}

Vec2 pushOutToEdge(const Rect& r, float x, float y) {
  Vec2 p{x, y};
  if (!contains(r, x, y)) return p;
  // Scanned bottom, top, left, right; only a strictly nearer edge replaces
  // the choice, so ties keep the earlier one.
  const float distances[4] = {y - r.minY, r.maxY - y, x - r.minX, r.maxX - x};
  int nearest = 0;
  for (int i = 1; i < 4; ++i) {
    if (distances[i] < distances[nearest]) nearest = i;
  }
  switch (nearest) {
    case 0:
      p.y = r.minY;
      break;
    case 1:
      p.y = r.maxY;
      break;
    case 2:
      p.x = r.minX;
      break;
    default:
      p.x = r.maxX;
      break;
  }
  return p;
}

Vec2 displacementToContain(const Rect& outer, const Rect& inner) {
  Vec2 d;
  if (inner.minX < outer.minX) d.x = outer.minX - inner.minX;
  if (inner.maxX > outer.maxX) d.x -= inner.maxX - outer.maxX;
  if (inner.minY < outer.minY) d.y = outer.minY - inner.minY;
  if (inner.maxY > outer.maxY) d.y -= inner.maxY - outer.maxY;
  return d;
}

bool equals(const Rect& r, float minX, float maxX, float minY, float maxY) {
  return r.minX == minX && r.maxX == maxX && r.minY == minY && r.maxY == maxY;
}

Rect offsetBy(const Rect& r, Vec2 d) {
  return {r.minX + d.x, r.maxX + d.x, r.minY + d.y, r.maxY + d.y};
}

void include(Rect& r, float x, float y) {
  if (x < r.minX) r.minX = x;
  if (x > r.maxX) r.maxX = x;
  if (y < r.minY) r.minY = y;
  if (y > r.maxY) r.maxY = y;
}

Vec2 randomPoint(const Rect& r) {
  // The draw order is part of the behaviour: y takes the first draw.
  const float first = static_cast<float>(nextRandom()) * kRandomScale;
  const float second = static_cast<float>(nextRandom()) * kRandomScale;
  return {r.minX + (r.maxX - r.minX) * second, r.minY + (r.maxY - r.minY) * first};
}

float wrappedAngle(float a) {
  return std::fabs(a) > kLongestAngle ? std::fmod(a, 2.0f * kPi) : a;
}
