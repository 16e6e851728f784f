#include "draw/Shapes.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "draw/DrawBackend.h"
#include "draw/Pen.h"
#include "world/Maths.h"

namespace {

constexpr int kMinSegments = 4;
constexpr int kMaxSegments = 128;

// cos and sin of 2pi/n as floats. Circles come in few sizes but in great
// numbers (every tree shadow of every frame), so the pairs for the counts
// circleSegments gives are worked out once; the values are the same.
struct Turn {
  float c;
  float s;
};

Turn turnOf(int n) {
  const double step = kTwoPi / n;
  return {static_cast<float>(maths::cos(step)), static_cast<float>(maths::sin(step))};
}

Turn segmentTurn(int n) {
  static const auto table = [] {
    std::array<Turn, kMaxSegments + 1> t{};
    for (int k = kMinSegments; k <= kMaxSegments; ++k) t[k] = turnOf(k);
    return t;
  }();
  return n >= kMinSegments && n <= kMaxSegments ? table[n] : turnOf(n);
}

// The n vertices of a circle: the vector (r, 0) is turned by 2pi/n before
// each vertex, so the first lies at 2pi/n and the last back at angle 0.
struct CirclePoints {
  Vec2 at[kMaxSegments];
  int count = 0;
};

CirclePoints circlePoints(float cx, float cy, float r, int n) {
  CirclePoints points;
  n = std::clamp(n, 0, kMaxSegments);  // the room there is
  const auto [c, s] = segmentTurn(n);
  float vx = r;
  float vy = 0.0f;
  for (int i = 0; i < n; ++i) {
    const float x = vx * c - vy * s;
    vy = vx * s + vy * c;
    vx = x;
    points.at[i] = {cx + vx, cy + vy};
  }
  points.count = n;
  return points;
}

void emit(DrawBackend& out, Primitive primitive, const CirclePoints& points) {
  out.begin(primitive);
  for (int i = 0; i < points.count; ++i) out.vertex(points.at[i].x, points.at[i].y);
  out.end();
}

// A closed band from radius r inwards to r - w; the first and last pairs
// coincide.
void ringStrip(float cx, float cy, float r, int n, float w) {
  const auto [c, s] = segmentTurn(n);
  const float inner = r - w;
  float ux = 1.0f;
  float uy = 0.0f;
  DrawBackend& out = drawBackend();
  out.begin(Primitive::TriangleStrip);
  for (int i = 0; i <= n; ++i) {
    const float x = ux * c - uy * s;
    uy = ux * s + uy * c;
    ux = x;
    out.vertex(cx + r * ux, cy + r * uy);
    out.vertex(cx + inner * ux, cy + inner * uy);
  }
  out.end();
}

Vec2 polarPoint(float cx, float cy, float angle, float radius) {
  const maths::SinCos at = maths::sinCos(static_cast<double>(angle));
  return {cx + radius * static_cast<float>(at.cos), cy + radius * static_cast<float>(at.sin)};
}

}  // namespace

int circleSegments(float radius) {
  // Written so that NaN falls to the smallest count and infinity to the
  // largest: converting either to int would be undefined.
  if (!(radius >= 2.0f)) return kMinSegments;
  if (radius < 4.0f) return 6;
  if (radius < 8.0f) return 8;
  const float n = radius * kTwoPi / 6.0f;  // one vertex per 6 units of circumference
  if (n < 10.0f) return 10;
  if (!(n < static_cast<float>(kMaxSegments))) return kMaxSegments;
  return static_cast<int>(n);
}

void drawLine(float x0, float y0, float x1, float y1) {
  DrawBackend& out = drawBackend();
  out.begin(Primitive::Lines);
  out.vertex(x0, y0);
  out.vertex(x1, y1);
  out.end();
}

void fillRect(const Rect& r) {
  DrawBackend& out = drawBackend();
  out.begin(Primitive::Quads);
  out.vertex(r.minX, r.minY);
  out.vertex(r.maxX, r.minY);
  out.vertex(r.maxX, r.maxY);
  out.vertex(r.minX, r.maxY);
  out.end();
}

void strokeRect(const Rect& r, float w) {
  const Vec2 outer[4] = {{r.minX, r.minY}, {r.maxX, r.minY}, {r.maxX, r.maxY}, {r.minX, r.maxY}};
  const Vec2 inner[4] = {
      {r.minX + w, r.minY + w}, {r.maxX - w, r.minY + w}, {r.maxX - w, r.maxY - w}, {r.minX + w, r.maxY - w}};
  DrawBackend& out = drawBackend();
  out.begin(Primitive::TriangleStrip);
  for (int i = 0; i <= 4; ++i) {
    out.vertex(outer[i % 4].x, outer[i % 4].y);
    out.vertex(inner[i % 4].x, inner[i % 4].y);
  }
  out.end();
}

void outlineRect(const Rect& r) {
  strokeRect(r, pen().width);
}

void fillCircle(float cx, float cy, float radius) {
  DrawBackend& out = drawBackend();
  if (radius < 2.0f) {
    // Too small for a polygon to cover any pixel reliably: a point instead.
    out.pointSize(radius);
    out.begin(Primitive::Points);
    out.vertex(cx, cy);
    out.end();
    out.pointSize(pen().width);
    return;
  }
  const int n = circleSegments(radius);
  if (out.fillDisc(cx, cy, radius, n)) return;
  // A smoothed edge on an opaque disc; on a translucent one the overlap
  // would show as a darker rim.
  emitDisc(out, cx, cy, radius, n, pen().alpha == 1.0f);
}

void emitDisc(DrawBackend& out, float cx, float cy, float radius, int segments, bool smoothEdge) {
  const CirclePoints points = circlePoints(cx, cy, radius, segments);
  emit(out, Primitive::Polygon, points);
  if (smoothEdge) emit(out, Primitive::LineLoop, points);
}

void outlineCircle(float cx, float cy, float radius) {
  const float w = pen().width;
  if (w > 1.0f) {
    ringStrip(cx, cy, radius, circleSegments(radius - w), w);
    return;
  }
  emit(drawBackend(), Primitive::LineLoop, circlePoints(cx, cy, radius, circleSegments(radius)));
}

void drawArc(float cx, float cy, float radius, float startAngle, float sweep) {
  // The arc length over 2pi as the radius argument: one vertex per 6 units of arc.
  const int n = circleSegments(std::fabs(sweep) / kTwoPi * radius);
  const float step = sweep / n;
  DrawBackend& out = drawBackend();
  const Pen& p = pen();
  if (p.width > 1.0f) {
    const float w = p.width;
    out.begin(Primitive::TriangleStrip);
    for (int k = 0; k <= n; ++k) {
      const float angle = startAngle + k * step;
      const Vec2 outer = polarPoint(cx, cy, angle, radius);
      const Vec2 inner = polarPoint(cx, cy, angle, radius - w);
      out.vertex(outer.x, outer.y);
      out.vertex(inner.x, inner.y);
    }
    out.end();

    // Thin edges round the band smooth its outline; fainter on a translucent
    // arc so they do not stand out.
    const float alpha = p.alpha;
    if (alpha < 1.0f) setAlpha(alpha * 0.25f);
    setLineWidth(1.0f);
    drawArc(cx, cy, radius, startAngle, sweep);
    drawArc(cx, cy, radius - w, startAngle, sweep);
    const float capAngles[2] = {startAngle, startAngle + sweep};
    for (const float angle : capAngles) {
      const Vec2 outer = polarPoint(cx, cy, angle, radius);
      const Vec2 inner = polarPoint(cx, cy, angle, radius - w);
      drawLine(outer.x, outer.y, inner.x, inner.y);
    }
    setLineWidth(w);
    if (alpha < 1.0f) setAlpha(alpha);
    return;
  }
  out.begin(Primitive::LineStrip);
  for (int k = 0; k <= n; ++k) {
    const Vec2 point = polarPoint(cx, cy, startAngle + k * step, radius);
    out.vertex(point.x, point.y);
  }
  out.end();
}

void beginPolygon() {
  drawBackend().begin(Primitive::Polygon);
}
void beginLineLoop() {
  drawBackend().begin(Primitive::LineLoop);
}
void beginLineStrip() {
  drawBackend().begin(Primitive::LineStrip);
}
void endShape() {
  drawBackend().end();
}
void vertex(float x, float y) {
  drawBackend().vertex(x, y);
}

void vertices(const Vec2* points, int count) {
  DrawBackend& out = drawBackend();
  for (int i = 0; i < count; ++i) out.vertex(points[i].x, points[i].y);
}
