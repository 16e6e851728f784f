#include "agents/Creep.h"

#include <cmath>

#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "game/Game.h"

namespace {
constexpr float kBodySize = 16.0f;
constexpr float kPeepRepelRadius = 64.0f;
constexpr float kCreepRepelRadius = 16.0f;
constexpr float kRepelStrength = 24.0f;

}  // namespace

Creep::Creep(Game& owner, float x, float y, int life) : Peep(owner, x, y, kHunting), lifetime(life) {}

void Creep::update() {
  Peep::update();
  Game& g = *owner;

  if (lifetime > 0) {
    lifetime -= 1;
    if (lifetime == 0) setState(kLeaving);
  }

  const Rect area = g.playArea();
  if (state == kLeaving) {
    const Vec2 exit = pushOutToEdge(grownBy(area, kExitMargin), position.x, position.y);
    setTarget(exit.x, exit.y);
    if (!contains(area, position.x, position.y)) destroyRequested = true;
  }

  if (!hasTarget) {
    const Vec2 p = randomPoint(area);
    setTarget(p.x, p.y);
  }
}

void Creep::affect(Peep& agent) {
  if (agent.isCreep()) return;
  const float d = length(position - agent.position);

  // Every creep in reach hits, whether it is still hunting or not.
  if (d < kHitRadius && agent.takeHit()) setState(kLeaving);

  if (d < kHuntRadius && state == kHunting) {
    // The current target stays while it is at least as near.
    if (hasTarget && !(d < length(position - target))) return;
    setTarget(agent.position.x, agent.position.y);
  }
}

Vec2 Creep::avoidance(Peep& agent) {
  const bool creep = agent.isCreep();
  const float radius = creep ? kCreepRepelRadius : kPeepRepelRadius;
  const Vec2 away = agent.position - position;
  // A length is at least either coordinate: far agents need none.
  if (std::fabs(away.x) >= radius || std::fabs(away.y) >= radius) return {};
  const float d = length(away);
  // Two agents on the same spot have no direction to part in; pushing along
  // a zero vector would turn both positions into NaN.
  if (d >= radius || d == 0.0f) return {};
  float m = (1.0f - d / radius) * kRepelStrength;
  if (creep) m *= 0.5f;
  return scaled(away, m / d);
}

Reach Creep::reach() {
  Reach r = Peep::reach();
  r.avoidance = reachAround(Vec2{}, std::fmax(kPeepRepelRadius, kCreepRepelRadius));
  r.affect = reachAround(Vec2{}, std::fmax(kHitRadius, kHuntRadius));
  return r;
}

void Creep::draw() {
  const Color3 base = state == kHunting ? kMagenta : kGreen;
  const Color3 fill = mix(base, kWhite, 0.2f);

  // The agent triangle: base centre half a size behind the position, tip
  // one size ahead of the base centre.
  const Vec2 forward = unitVector(heading);
  const Vec2 back = position - scaled(forward, kBodySize * 0.5f);
  const Vec2 tri[3] = {back + scaled(unitVector(heading + kQuarterTurn), 0.375f * kBodySize),
                       back + scaled(unitVector(heading - kQuarterTurn), 0.375f * kBodySize),
                       back + scaled(forward, kBodySize)};

  setColor(fill);
  beginPolygon();
  vertices(tri, 3);
  endShape();

  if (selected) {
    setColor(kRed);
    setLineWidth(3.0f);
  }
  beginLineLoop();
  vertices(tri, 3);
  endShape();
  setLineWidth(1.0f);
}

void Creep::drawDebug() {
  Peep::drawDebug();
  setColor(kRed);
  setAlpha(0.45f);
  outlineCircle(position.x, position.y, kHuntRadius);
  setAlpha(1.0f);
}
