#include "agents/Road.h"

#include <algorithm>
#include <cmath>

#include "agents/Peep.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/StillPicture.h"
#include "world/Random.h"

namespace {

// nearestOnSegment turns the point onto the segment with float trigonometry,
// so its distance can be off by a few ulps of the coordinates. The box test
// below only rules a wall out when it is clearly beyond reach, leaving every
// answer exactly as the full computation gives it.
bool clearlyBeyond(Vec2 p, Vec2 a, Vec2 b, float reach) {
  const double minX = std::min(a.x, b.x);
  const double maxX = std::max(a.x, b.x);
  const double minY = std::min(a.y, b.y);
  const double maxY = std::max(a.y, b.y);
  const double dx = p.x < minX ? minX - p.x : (p.x > maxX ? p.x - maxX : 0.0);
  const double dy = p.y < minY ? minY - p.y : (p.y > maxY ? p.y - maxY : 0.0);
  const double scale = std::max({std::fabs(static_cast<double>(p.x)), std::fabs(static_cast<double>(p.y)),
                                 std::fabs(minX), std::fabs(maxX), std::fabs(minY), std::fabs(maxY)});
  const double limit = reach + 0.5 + 1e-5 * scale;
  // Written so that NaN never counts as beyond.
  return dx * dx + dy * dy > limit * limit;
}

Vec2 catmullRom(Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3, float t) {
  const float t2 = t * t;
  const float t3 = t2 * t;
  auto axis = [&](float a0, float a1, float a2, float a3) {
    return 0.5f * (2.0f * a1 + t * (-a0 + a2) + t2 * (2.0f * a0 - 5.0f * a1 + 4.0f * a2 - a3) +
                   t3 * (-a0 + 3.0f * a1 - 3.0f * a2 + a3));
  };
  return {axis(p0.x, p1.x, p2.x, p3.x), axis(p0.y, p1.y, p2.y, p3.y)};
}

}  // namespace

Road::Road(Game& owner, Anchor& a, Anchor& b) : WorldObject(owner), anchorA(&a), anchorB(&b) {}

Road::ControlPoints Road::controlPoints(const Anchor& a, const Anchor& b) {
  const Vec2 pA = a.position();
  const Vec2 dA = a.direction();
  const Vec2 pB = b.position();
  const Vec2 dB = b.direction();
  const float span = length(pB - pA);
  // Short roads get proportionally shorter stubs so the curve does not loop.
  const float k1 = std::min(0.1f * span, 4.0f);
  const float k2 = std::min(0.1f * span, 12.0f);
  const Vec2 qA = pA + scaled(dA, 1.5f * k2);
  const Vec2 qB = pB + scaled(dB, 1.5f * k2);
  return {{
      pA - scaled(dA, k1),
      pA,
      pA + scaled(dA, k2),
      qA + scaled(pB - qA, 0.05f),
      qA + scaled(pB - qA, 0.2f),
      qB + scaled(pA - qB, 0.2f),
      qB + scaled(pA - qB, 0.05f),
      pB + scaled(dB, k2),
      pB,
      pB - scaled(dB, k1),
  }};
}

Road::Curve Road::curve(const ControlPoints& points) {
  Curve out;
  int n = 0;
  for (int w = 0; w + 3 < kControlPoints; ++w) {
    const Vec2* p = &points.at[w];
    for (int i = 0; i < kVerticesPerSegment; ++i) {
      const float t = static_cast<float>(i) / static_cast<float>(kVerticesPerSegment - 1);
      out.at[n++] = catmullRom(p[0], p[1], p[2], p[3], t);
    }
  }
  return out;
}

Color3 Road::roadColor() const {
  const Color3 a = anchorA->color();
  const Color3 b = anchorB->color();
  return {0.5f * b.r + 0.5f * a.r, 0.5f * b.g + 0.5f * a.g, 0.5f * b.b + 0.5f * a.b};
}

float Road::roadWidth() const {
  const float wA = anchorA->width();
  return wA + (anchorB->width() - wA) * 0.5f;
}

void Road::draw() {
  const Curve c = curve(controlPoints(*anchorA, *anchorB));
  const Color3 color = roadColor();
  const float width = roadWidth();
  // The curve follows from its two ends: where they are and which way they face.
  const Vec2 pA = anchorA->position();
  const Vec2 dA = anchorA->direction();
  const Vec2 pB = anchorB->position();
  const Vec2 dB = anchorB->direction();
  Rect box{c.at[0].x, c.at[0].x, c.at[0].y, c.at[0].y};
  for (const Vec2& v : c.at) include(box, v.x, v.y);
  StillPicture picture(
      {serial(), PictureKind::Colour,
       pictureDigest({pA.x, pA.y, dA.x, dA.y, pB.x, pB.y, dB.x, dB.y, width, color.r, color.g, color.b})},
      grownBy(box, 0.5f * width + 2.0f));
  if (!picture.needsDrawing()) return;
  setColor(color);
  setLineWidth(width);
  beginLineStrip();
  vertices(c.at, kCurveVertices);
  endShape();
  setLineWidth(1.0f);
}

void Road::drawDebug() {
  setColor(0.0f, 0.0f, 1.0f);
  setAlpha(0.3f);
  outlineRect(extent);
  setLineWidth(3.0f);
  const Vec2 a = anchorA->position();
  const Vec2 b = anchorB->position();
  drawLine(a.x, a.y, b.x, b.y);
  setLineWidth(1.0f);
  setAlpha(1.0f);
}

void Road::update() {
  const Vec2 a = anchorA->position();
  const Vec2 b = anchorB->position();
  extent = Rect{std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)};
}

Vec2 Road::separation(Peep& agent) {
  return wallPush(agent, kWallSeparationRadius);
}

Vec2 Road::avoidance(Peep& agent) {
  return wallPush(agent, kWallAvoidanceRadius);
}

Reach Road::reach() {
  Reach r = Reach::nowhere();
  r.hangsOnOthers = true;
  if (!isWall()) return r;
  const Vec2 a = anchorA->position();
  const Vec2 b = anchorB->position();
  const Rect line{std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)};
  // reachAround's margin covers clearlyBeyond's slack.
  r.separation = reachAround(line, kWallSeparationRadius);
  r.avoidance = reachAround(line, kWallAvoidanceRadius);
  return r;
}

Vec2 Road::wallPush(const Peep& agent, float radius) {
  if (!isWall()) return {};
  const Vec2 a = anchorA->position();
  const Vec2 b = anchorB->position();
  if (clearlyBeyond(agent.position, a, b, radius)) return {};
  Vec2 q = agent.position;
  const float d = nearestOnSegment(q, a, b);
  if (!(d < radius)) return {};
  Vec2 away = agent.position - q;
  float len = length(away);
  if (len == 0.0f) {
    // Standing exactly on the line has no "away": push across the wall
    // instead, or anywhere when the wall is a single point.
    const Vec2 along = b - a;
    away = {-along.y, along.x};
    len = length(away);
    if (len == 0.0f) {
      setPolar(away, static_cast<float>(nextRandom()) * kRandomScale * kTwoPi, 1.0f);
      len = 1.0f;
    }
  }
  return {away.x / len * kWallPush, away.y / len * kWallPush};
}
