#include "agents/Peep.h"

#include <cmath>

#include "draw/Animation.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "game/Game.h"
#include "tuning/Tuning.h"
#include "world/Maths.h"

namespace {
constexpr float kArrivalRadius = 20.0f;
constexpr float kSeparationRadius = 10.0f;
constexpr float kSeekLength = 24.0f;
constexpr float kAlignmentRadius = 64.0f;
constexpr float kViewAngle = kTwoPi / 3;

float atan2f_(float y, float x) {
  return static_cast<float>(maths::atan2(y, x));
}
}  // namespace

const Color3 Peep::StateColors[2] = {mix(kBlue, kWhite, 0.5f), mix(kRed, kWhite, 0.5f)};

Peep::Peep(Game& owner, float x, float y, int s) : WorldObject(owner), state(s), position{x, y} {
  bodyColor = StateColors[s & 1];
  // Any value that differs between neighbours and stays put will do.
  legPhase_ = static_cast<float>(owner.agentSerial++ % 30) / 30.0f;
  owner.agentCount += 1;
}

Peep::~Peep() {
  owner->agentCount -= 1;
}

WorldObject* Peep::clone() {
  return new Peep(*owner, position.x, position.y, state);
}

void Peep::translate(float dx, float dy) {
  position.x += dx;
  position.y += dy;
}

void Peep::setState(int s) {
  state = s;
  bodyColor = StateColors[s & 1];
}

void Peep::setTarget(float x, float y) {
  hasTarget = true;
  target = {x, y};
}

Vec2 Peep::velocity() const {
  return scaled(unitVector(heading), speed);
}

bool Peep::takeHit() {
  setState(kTired);
  anger += 0.1f;
  if (anger > 1.0f) anger = 1.0f;
  return anger == 1.0f;
}

void Peep::update() {
  Game& g = *owner;
  if (hasTarget && length(position - target) < kArrivalRadius) hasTarget = false;

  if (state == kTired) {
    anger += kPeepAngerGrowthWhenTired;
    if (anger > 1.0f) {
      anger = 1.0f;
      if (!contains(g.playArea(), position.x, position.y)) destroyRequested = true;
    }
  }

  push += g.separationSum(*this);

  const Vec2 s = steering();
  if (s.x == 0.0f && s.y == 0.0f) {
    speed = 0.0f;
  } else {
    const float len = length(s);
    speed = std::fmin(len / 64.0f, 1.0f) * kTopSpeed;
    if (speed < 0.1f) speed = 0.0f;
    const float e = angleDelta(heading, atan2f_(s.y, s.x));
    if (e < kPi) position += scaled(unitVector(heading), speed);
    if (len > 0.1f) turnRate = turnRate + (0.15f * e - turnRate) * 0.2f;
  }

  heading += turnRate;
  turnRate *= 0.9f;
  position += push;
  scaleBy(push, 0.8f);

  g.affectAll(*this);
}

Vec2 Peep::steering() {
  Game& g = *owner;
  Vec2 s;
  if (hasTarget && length(position - target) >= kArrivalRadius) {
    s = target - position;
    clampLength(s, kSeekLength);
    const float len = length(s);
    if (len < kSeekLength) s = scaled(s, kSeekLength / len);
  }
  s += g.avoidanceSum(*this);

  const Rect area = g.playArea();
  if (anger == 1.0f && contains(area, position.x, position.y)) {
    const Rect grown = grownBy(area, 64.0f);
    s = pushOutToEdge(grown, position.x, position.y) - position;
    clampLength(s, 20.0f);
  }

  s += scaled(g.alignmentSum(*this), 10.0f);
  return s;
}

Vec2 Peep::separation(Peep& agent) {
  if (&agent == this) return {};
  const Vec2 d = agent.position - position;
  // A length is at least either coordinate: most pairs are out of reach
  // without one (here and below).
  if (std::fabs(d.x) >= kSeparationRadius || std::fabs(d.y) >= kSeparationRadius) return {};
  if ((d.x != 0.0f || d.y != 0.0f) && length(d) < kSeparationRadius) return scaled(d, 0.1f);
  return {};
}

Vec2 Peep::alignment(Peep& agent) {
  if (&agent == this || agent.state != state) return {};
  const Vec2 d = position - agent.position;
  if (std::fabs(d.x) >= kAlignmentRadius || std::fabs(d.y) >= kAlignmentRadius) return {};
  const float dist = length(d);
  if (dist < kAlignmentRadius && std::fabs(angleDelta(agent.heading, atan2f_(d.y, d.x))) < kViewAngle) {
    return scaled(unitVector(heading), 1.0f - dist / kAlignmentRadius);
  }
  return {};
}

Reach Peep::reach() {
  Reach r = Reach::nowhere();
  r.follows = &position;
  r.separation = reachAround(Vec2{}, kSeparationRadius);
  r.alignment = reachAround(Vec2{}, kAlignmentRadius);
  return r;
}

void Peep::draw() {
  const Color3 pale = mix(kWhite, bodyColor, 0.7f);
  const Color3 body = mix(pale, kRed, anger);
  const Color3 light = mix(body, kWhite, 0.5f);

  setColor(body);
  const Vec2 head = position + scaled(unitVector(heading), 4.4f);
  fillCircle(head.x, head.y, 2.0f);

  setColor(selected ? mix(light, kMagenta, 0.1f) : light);
  setLineWidth(2.0f);
  static const float legOffset[4] = {0.0f, 0.5f, 1.0f, -0.5f};
  const Vec2 v = velocity();
  for (int i = 0; i < 4; ++i) {
    float angle = ((i & 1) ? kQuarterTurn : 0.0f) + kQuarterTurn * 0.5f;
    if (i < 2) angle = -angle;
    const Vec2 dir = unitVector(heading + angle);
    float swing = pulse(legOffset[i] * 0.5f + legPhase_, 0.5f);
    if (swing > 1.0f) swing = 1.0f;
    const Vec2 root = position + scaled(dir, 4.0f);
    const Vec2 tip = root + scaled(dir, 3.6f) + scaled(v, 4.0f * (swing - 0.5f));
    drawLine(root.x, root.y, tip.x, tip.y);
  }
  setLineWidth(1.0f);

  setColor(body);
  fillCircle(position.x, position.y, 4.0f);
  setColor(kBlack);
  setAlpha(0.2f);
  outlineCircle(position.x, position.y, 4.0f);
  setAlpha(1.0f);

  if (selected) {
    setLineWidth(3.0f);
    setColor(kYellow);
    outlineCircle(position.x, position.y, 4.0f);
    setLineWidth(1.0f);
  }
}

void Peep::fillAgentTriangle(float s, float ox, float oy) const {
  const Vec2 forward = unitVector(heading);
  const Vec2 base = Vec2{position.x + ox, position.y + oy} - scaled(forward, s * 0.5f);
  const Vec2 left = base + scaled(unitVector(heading + kQuarterTurn), 0.375f * s);
  const Vec2 right = base + scaled(unitVector(heading - kQuarterTurn), 0.375f * s);
  const Vec2 tip = base + scaled(forward, s);
  beginPolygon();
  vertex(left.x, left.y);
  vertex(right.x, right.y);
  vertex(tip.x, tip.y);
  endShape();
}

void Peep::drawShadow(float lightX, float lightY) {
  const float d = distanceTo(position, lightX, lightY);
  Vec2 offset;
  setPolar(offset, atan2f_(position.y - lightY, position.x - lightX), d * 0.025f);
  fillAgentTriangle(d * 0.015f + 16.0f, offset.x, offset.y);
}

void Peep::drawDebug() {
  Game& g = *owner;
  const Vec2 a = g.avoidanceSum(*this, true);
  setColor(kRed);
  setAlpha(0.75f);
  drawLine(position.x, position.y, position.x + a.x, position.y + a.y);
  setAlpha(1.0f);

  const Vec2 b = g.alignmentSum(*this);
  setColor(kBlack);
  setAlpha(length(b));
  drawLine(position.x, position.y, position.x + 20.0f * b.x, position.y + 20.0f * b.y);
  setAlpha(1.0f);

  if (hasTarget) {
    setColor(kMagenta);
    drawLine(position.x, position.y, target.x, target.y);
  }
}
