#pragma once

// Value types of the flat world: points and vectors, axis-aligned rectangles
// and colour triples, all in 32-bit floats. Angles are radians from +x toward
// +y (y grows downwards, so positive angles turn clockwise on the screen).

struct Vec2 {
  float x = 0.0f;
  float y = 0.0f;
};

// Field order matters: both x bounds first, then both y bounds. All four at
// zero means "no extent" to callers asking an object for its bounds.
struct Rect {
  float minX = 0.0f;
  float maxX = 0.0f;
  float minY = 0.0f;
  float maxY = 0.0f;
};

struct Color3 {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
};

constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 6.28318530717959f;
constexpr float kQuarterTurn = kPi / 2;

// --- Vec2 -------------------------------------------------------------------

// Lengths are taken in double from exact squares and rounded to float.
float length(float dx, float dy);
float length(Vec2 v);
float distanceTo(Vec2 p, float x, float y);

inline Vec2 operator-(Vec2 a, Vec2 b) {
  return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator+(Vec2 a, Vec2 b) {
  return {a.x + b.x, a.y + b.y};
}
inline Vec2& operator+=(Vec2& v, Vec2 w) {
  v.x += w.x;
  v.y += w.y;
  return v;
}
inline bool operator==(Vec2 a, Vec2 b) {
  return a.x == b.x && a.y == b.y;
}
inline bool operator!=(Vec2 a, Vec2 b) {
  return !(a == b);
}
inline Vec2 scaled(Vec2 v, float k) {
  return {v.x * k, v.y * k};
}
inline void scaleBy(Vec2& v, float k) {
  v.x *= k;
  v.y *= k;
}

// Turns v by angle a, keeping its length.
void rotateBy(Vec2& v, float a);
void setPolar(Vec2& v, float angle, float len);
void setPolarAround(Vec2& v, float cx, float cy, float angle, float len);
void clampLength(Vec2& v, float maximum);
// The unit vector at an angle.
Vec2 unitVector(float angle);

// Signed turn from heading a to heading b, in [-pi, pi] for the usual inputs.
float angleDelta(float a, float b);
// Unsigned angle between two directions, in [0, pi].
float angleBetween(Vec2 u, Vec2 v);
float distanceToSegment(Vec2 p, Vec2 a, Vec2 b);
// Moves p to the foot of the perpendicular on the line through a at angle t
// and returns the signed position of the foot along the line.
float projectOntoLine(Vec2& p, Vec2 a, float t, float* perpendicular = nullptr);
// Moves p to the nearest point of segment a-b; returns the distance moved.
float nearestOnSegment(Vec2& p, Vec2 a, Vec2 b);

// --- Rect -------------------------------------------------------------------

struct RectCorners {
  Vec2 at[4];
};

// (minX, minY), (maxX, minY), (maxX, maxY), (minX, maxY).
RectCorners corners(const Rect& r);
bool contains(const Rect& r, float x, float y);
Vec2 clampPoint(const Rect& r, float x, float y);
Vec2 pushOutToEdge(const Rect& r, float x, float y);
Vec2 displacementToContain(const Rect& outer, const Rect& inner);
bool equals(const Rect& r, float minX, float maxX, float minY, float maxY);
Rect offsetBy(const Rect& r, Vec2 d);
// r with every side moved out by m.
inline Rect grownBy(const Rect& r, float m) {
  return {r.minX - m, r.maxX + m, r.minY - m, r.maxY + m};
}
void include(Rect& r, float x, float y);
// Two draws from the process generator: y takes the first, x the second.
Vec2 randomPoint(const Rect& r);

// --- Color3 -----------------------------------------------------------------

Color3& add(const Color3& a, const Color3& b, Color3& result);
Color3& subtract(const Color3& a, const Color3& b, Color3& result);
Color3 scale(const Color3& a, float k);
// a + (b - a) * k, evaluated as difference, scale, sum.
Color3 mix(const Color3& a, const Color3& b, float k);
