#include "world/DiscObjects.h"

#include <cmath>

#include "agents/Peep.h"
#include "draw/Shapes.h"
#include "draw/StillPicture.h"
#include "world/Maths.h"
#include "world/Random.h"

namespace {
// 1.5 / pi: turns the heading error into a falloff that reaches 0 at 120 degrees.
constexpr float kHeadingFalloff = 1.5f / kPi;

float angleOf(Vec2 v) {
  return static_cast<float>(maths::atan2(v.y, v.x));
}
}  // namespace

void discShadow(Vec2 c, float r, float lightX, float lightY) {
  const Vec2 v{c.x - lightX, c.y - lightY};
  const float dist = length(v);
  const float theta = angleOf(v);
  Vec2 s;
  setPolarAround(s, c.x, c.y, theta, 0.05f * dist);
  const float rs = r + 0.015f * dist;
  fillCircle(s.x, s.y, rs);
  Vec2 n;
  setPolar(n, theta + kQuarterTurn, 1.0f);
  beginPolygon();
  vertex(c.x + r * n.x, c.y + r * n.y);
  vertex(c.x - r * n.x, c.y - r * n.y);
  vertex(s.x - rs * n.x, s.y - rs * n.y);
  vertex(s.x + rs * n.x, s.y + rs * n.y);
  endShape();
}

Vec2 discSeparation(Vec2 c, float r, const Peep& agent) {
  const Vec2 e = agent.position - c;
  // A length is at least either coordinate: far agents need none.
  if (std::fabs(e.x) >= r || std::fabs(e.y) >= r) return {};
  const float d = length(e);
  if (!(d < r)) return {};
  Vec2 u;
  if (d > 0.0f) {
    u = {e.x / d, e.y / d};
  } else {
    setPolar(u, static_cast<float>(nextRandom()) * kRandomScale * kTwoPi, 1.0f);
  }
  return scaled(u, (1.0f - d / r) * 5.0f);
}

Vec2 discAvoidance(Vec2 c, float r, const Peep& agent) {
  const Vec2 e = agent.position - c;
  const float d = length(e);
  // At the very centre there is no direction to steer away in; the
  // separation push takes the agent out first.
  if (d == 0.0f) return {};
  const float reach = (agent.speed + 2.0f) * 5.0f + 3.0f * r;
  // Out of reach the weight h below comes out as 0 and, with finite inputs,
  // so does the whole answer: skip the trigonometry, the dearest part of a
  // crowded tick. (A zero of either sign adds nothing to a steering sum.)
  if (d >= reach && reach > r && std::isfinite(d) && std::isfinite(r) && std::isfinite(agent.heading))
    return {};
  const float t = angleDelta(agent.heading, angleOf(e) + kPi);
  float h = 1.0f - (d - r) / (reach - r);
  if (h < 0.0f) h = 0.0f;
  if (h > 1.0f) h = 1.0f;
  float g = 1.0f - std::fabs(t) * kHeadingFalloff;
  if (g < 0.0f) g = 0.0f;
  const float k = r * (h * h) * 16.0f * g;
  return {e.x / d * k, e.y / d * k};
}

Rect discSeparationReach(Vec2 c, float r) {
  return reachAround(c, r);
}

Rect discAvoidanceReach(Vec2 c, float r) {
  // The reach below for the fastest agent. A negative radius undoes the
  // early answer there, so it gets no box.
  if (!(r >= 0.0f)) return kEverywhere;
  return reachAround(c, (Peep::kTopSpeed + 2.0f) * 5.0f + 3.0f * r);
}

void DiscObject::translate(float dx, float dy) {
  centre.x += dx;
  centre.y += dy;
}

bool DiscObject::containsPoint(float x, float y) {
  return distanceTo(centre, x, y) < radius;
}

Reach DiscObject::reach() {
  Reach r = Reach::nowhere();
  r.point = reachAround(centre, radius);
  return r;
}

Rect DiscObject::bounds() {
  return Rect{centre.x - radius, centre.x + radius, centre.y - radius, centre.y + radius};
}

Rect DiscObject::pictureBounds() const {
  // A guard tower's posts (radius 3) stand on its edge; a pixel more for
  // the smoothed edges.
  const float reach = radius + 5.0f;
  return Rect{centre.x - reach, centre.x + reach, centre.y - reach, centre.y + reach};
}

uint64_t DiscObject::pictureState() const {
  return pictureDigest({centre.x, centre.y, radius});
}

void DiscObstacle::drawShadow(float lightX, float lightY) {
  ShadowPicture shadow(serial(), pictureState(), pictureBounds(), lightX, lightY);
  if (shadow.needsDrawing()) discShadow(centre, radius, shadow.light().x, shadow.light().y);
}

Vec2 DiscObstacle::separation(Peep& agent) {
  return discSeparation(centre, radius, agent);
}

Vec2 DiscObstacle::avoidance(Peep& agent) {
  return discAvoidance(centre, radius, agent);
}

Reach DiscObstacle::reach() {
  Reach r = DiscObject::reach();
  r.separation = discSeparationReach(centre, radius);
  r.avoidance = discAvoidanceReach(centre, radius);
  return r;
}
