#include "world/Zone.h"

#include "agents/Peep.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"

Zone::Zone(Game& owner, const Rect& target) : WorldObject(owner), targetRect(target) {
  const float cx = target.minX + (target.maxX - target.minX) * 0.5f;
  const float cy = target.minY + (target.maxY - target.minY) * 0.5f;
  shownRect = Rect{cx, cx, cy, cy};
}

void Zone::update() {
  shownRect.minX += (targetRect.minX - shownRect.minX) * 0.5f;
  shownRect.maxX += (targetRect.maxX - shownRect.maxX) * 0.5f;
  shownRect.minY += (targetRect.minY - shownRect.minY) * 0.5f;
  shownRect.maxY += (targetRect.maxY - shownRect.maxY) * 0.5f;
}

void Zone::draw() {
  setColor(kBlue);
  setAlpha(0.2f);
  outlineRect(shownRect);
  setAlpha(1.0f);
}

Reach Zone::reach() {
  Reach r = Reach::nowhere();
  r.separation = r.avoidance = kEverywhere;
  return r;
}

Vec2 Zone::separation(Peep& agent) {
  if (agent.isHostile()) return {};
  const Vec2 p = agent.position;
  const Rect& r = shownRect;
  if (p.x < r.minX || p.x > r.maxX || p.y > r.maxY || !(p.y >= r.minY)) {
    return scaled(clampPoint(r, p.x, p.y) - p, 0.1f);
  }
  return {};
}

Vec2 Zone::avoidance(Peep& agent) {
  if (agent.isHostile()) return {};
  const Vec2 p = agent.position;
  const Rect inner{shownRect.minX + 40.0f, shownRect.maxX - 40.0f, shownRect.minY + 40.0f,
                   shownRect.maxY - 40.0f};
  if (!contains(inner, p.x, p.y)) return clampPoint(inner, p.x, p.y) - p;
  return {};
}
