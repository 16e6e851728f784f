#include "world/GroundMarker.h"

#include "agents/Peep.h"
#include "draw/Animation.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"

namespace {
constexpr float kPullRadius = 2.0f;  // in radii
}  // namespace

WorldObject* GroundMarker::clone() {
  return new GroundMarker(*owner, centre.x, centre.y, radius);
}

bool GroundMarker::containsPoint(float x, float y) {
  return distanceTo(centre, x, y) < kHitRadius;
}

void GroundMarker::draw() {
  setColor(kBlack);
  setAlpha(0.1f);
  fillCircle(centre.x, centre.y, radius);

  setAlpha(0.2f);
  const float q = phase(0.0f, 2.0f);
  outlineCircle(centre.x, centre.y, (1.0f - smoothStep(q)) * radius);

  setAlpha(1.0f);
  setColor(mix(kWhite, kBlue, 0.5f));
  fillCircle(centre.x, centre.y, kHitRadius);
  setColor(kBlue);
  outlineCircle(centre.x, centre.y, kHitRadius);
}

Reach GroundMarker::reach() {
  Reach r = Reach::nowhere();
  r.point = reachAround(centre, kHitRadius);
  r.avoidance = reachAround(centre, kPullRadius * radius);
  return r;
}

Vec2 GroundMarker::avoidance(Peep& agent) {
  const Vec2 e = centre - agent.position;
  const float d = length(e);
  const float reach = kPullRadius * radius;
  if (d < reach) return scaled(e, 1.0f - d / reach);
  return {};
}
