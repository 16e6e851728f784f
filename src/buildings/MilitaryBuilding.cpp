#include "buildings/MilitaryBuilding.h"

#include <algorithm>
#include <cmath>

#include "agents/Creep.h"
#include "draw/Animation.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/StillPicture.h"
#include "game/Game.h"
#include "world/Burst.h"
#include "world/Maths.h"

namespace {
constexpr Color3 kSoldierBarBackground{0.8f, 0.8f, 0.8f};
constexpr float kBarrelWidth = 8.0f;

float directionOf(Vec2 v) {
  return static_cast<float>(maths::atan2(v.y, v.x));
}
}  // namespace

MilitaryBuilding::MilitaryBuilding(Game& g, const Rect& area, int rooms) : Building(g, area, rooms) {}

WorldObject* MilitaryBuilding::clone() {
  return new MilitaryBuilding(*owner, footprint, roomCount);
}

float MilitaryBuilding::turnSpeed() const {
  return static_cast<float>(soldiers) * (1.0f / 360.0f) * kTwoPi;
}

Vec2 MilitaryBuilding::muzzlePoint() const {
  Vec2 p;
  const Vec2 c = centre();
  setPolarAround(p, c.x, c.y, turretAngle, 0.8f * footprintWidth());
  return p;
}

bool MilitaryBuilding::onMousePress(float x, float y) {
  if (!contains(switchRect(), x, y)) return false;
  if (armed) {
    releasePeeps(soldiers, Peep::kTired);
    soldiers = 0;
  }
  armed = !armed;
  return true;
}

bool MilitaryBuilding::accepts(Peep& agent) {
  return armed && !agent.isCreep() && soldiers < kMaxSoldiers;
}

float MilitaryBuilding::attraction(Peep& agent, float& strength) {
  if (!accepts(agent)) return 0.0f;
  strength = 1.0f;
  return kRecruitRadius;
}

Reach MilitaryBuilding::reach() {
  Reach r = Building::reach();
  const Vec2 c = centre();
  r.avoidance = unite(r.avoidance, reachAround(c, kRecruitRadius));
  // Soldiers only come in one by one up to the most.
  const float widest = static_cast<float>(std::max(soldiers, kMaxSoldiers)) * kRangePerSoldier;
  r.affect = unite(reachAround(footprint, 0.0f), reachAround(c, widest));
  return r;
}

void MilitaryBuilding::affect(Peep& agent) {
  if (agent.isCreep()) {
    const Vec2 c = centre();
    const float d = length(agent.position - c);
    if (!(d < range())) return;  // an unmanned building has no range at all
    // The nearer target stays; on a tie the one already held wins.
    if (hasTarget && !(length(target - c) > d)) return;
    target = agent.position;
    hasTarget = true;
    targetFrame = owner->frameCounter;
    if (agent.state == Creep::kLeaving) return;  // already on its way out
    if (std::fabs(angleDelta(turretAngle, directionOf(agent.position - c))) < kFiringCone) {
      agent.setState(Creep::kLeaving);
      new Burst(*owner, agent.position.x, agent.position.y, Burst::kHitSize);
      const Vec2 m = muzzlePoint();
      new Burst(*owner, m.x, m.y, Burst::kMuzzleSize);
    }
    return;
  }
  if (!accepts(agent)) return;
  if (!contains(footprint, agent.position.x, agent.position.y)) return;
  // A peep another building has just taken in must not be counted twice.
  if (agent.destroyRequested) return;
  soldiers += 1;
  agent.destroyRequested = true;
}

void MilitaryBuilding::update() {
  const Vec2 c = centre();
  if (!inactive && armed && soldiers > 0) {
    const float goal = hasTarget ? directionOf(target - c) : turretAngle;
    float turn = angleDelta(turretAngle, goal);
    const float m = turnSpeed();
    if (turn > m) turn = m;
    if (turn < -m) turn = -m;
    turretAngle = wrappedAngle(turretAngle + turn);
  }

  setDoorsOpen(armed && soldiers < kMaxSoldiers);

  if (hasTarget) {
    if (owner->frameCounter - targetFrame > kTargetMemory) {
      hasTarget = false;
    } else if (length(target - c) > range()) {
      hasTarget = false;
    }
  }
}

void MilitaryBuilding::drawDebug() {
  if (!armed || soldiers <= 0) return;
  setColor(kRed);
  setAlpha(0.25f);
  const Vec2 c = centre();
  outlineCircle(c.x, c.y, smoothStep(pulse(0.0f, 1.0f)) * 3.0f + range());
  setAlpha(1.0f);
}

void MilitaryBuilding::draw() {
  setLineWidth(2.0f);
  const Color3 c1 = mix(kBlack, kGreen, 0.35f);
  const Color3 c2 = mix(kWhite, kBlack, 0.25f);
  const Vec2 c = centre();
  {
    StillPicture body(bodyKey(0.0f), bodyBounds());
    if (body.needsDrawing()) {
      drawRooms(c1, c2, 0.0f);
      setColor(c1);
      outlineCircle(c.x, c.y, 0.3f * footprintWidth());
    }
  }

  drawSwitch(armed, soldiers > 0);
  drawDoors(armed);

  const Vec2 muzzle = muzzlePoint();
  setColor(c1);
  setLineWidth(kBarrelWidth);
  drawLine(c.x, c.y, muzzle.x, muzzle.y);
  setLineWidth(1.0f);

  if (armed) drawProgressBar(0, kSoldierBarBackground, kBlack, 0.0f, static_cast<float>(soldiers) * 0.5f);

  if (hasTarget && armed && soldiers > 0) {
    setColor(kRed);
    setAlpha(0.5f);
    // On the barrel's line at the target's distance: the circles close on
    // the target as the turret comes round.
    Vec2 aim;
    setPolarAround(aim, c.x, c.y, turretAngle, length(target - c));
    const float s = 2.0f * smoothStep(pulse(0.0f, 1.0f));
    for (int ring = 1; ring <= 3; ++ring) outlineCircle(aim.x, aim.y, s + 4.0f * static_cast<float>(ring));
    setAlpha(1.0f);
  }
}
