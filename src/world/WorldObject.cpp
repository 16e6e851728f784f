#include "world/WorldObject.h"

#include <cmath>

#include "draw/Shapes.h"
#include "game/Game.h"
#include "world/Maths.h"

WorldObject::WorldObject(Game& g) : owner(&g), serial_(g.nextSerial++) {
  WorldObject*& head = g.worldHead;
  next = head;
  prevLink = &head;
  if (head) head->prevLink = &next;
  head = this;
  g.reachIndex.add(*this);
}

WorldObject::WorldObject(Game& g, Detached) : owner(&g), serial_(0) {}

WorldObject::~WorldObject() {
  if (isDetached()) return;
  *prevLink = next;
  if (next) next->prevLink = prevLink;
  owner->reachIndex.remove(*this);
}

void WorldObject::moveBy(float dx, float dy) {
  translate(dx, dy);
  if (!isDetached()) owner->reachIndex.moved(*this);
}

void WorldObject::reachChanged() {
  if (!isDetached()) owner->reachIndex.reread(*this);
}

void WorldObject::settleStep() {
  if (!settling) return;
  const Rect area = owner->playArea();
  const Rect a{area.minX + 32.0f, area.maxX - 32.0f, area.minY + 32.0f, area.maxY - 32.0f};
  const Rect b = bounds();
  if (equals(b, 0.0f, 0.0f, 0.0f, 0.0f)) {
    settling = false;
    return;
  }
  const Vec2 d = displacementToContain(a, b);
  if (length(d) >= 2.0f) {
    moveBy(0.2f * d.x, 0.2f * d.y);
    return;
  }
  settling = false;
}

void rectShadow(const Rect& r, float lightX, float lightY) {
  const Vec2 c{r.minX + (r.maxX - r.minX) * 0.5f, r.minY + (r.maxY - r.minY) * 0.5f};
  const float dist = distanceTo(c, lightX, lightY);
  const float k = 0.05f * dist;
  Vec2 offset;
  const float away = static_cast<float>(maths::atan2(lightY - c.y, lightX - c.x)) + kPi;
  setPolar(offset, away, k);
  const float grow = 0.015f * k;
  const Rect s{r.minX + offset.x - grow, r.maxX + offset.x + grow, r.minY + offset.y - grow,
               r.maxY + offset.y + grow};
  fillRect(s);
  const RectCorners cr = corners(r);
  const RectCorners cs = corners(s);
  for (int j = 0; j < 4; ++j) {
    const int k1 = (j + 1) % 4;
    beginPolygon();
    vertex(cr.at[j].x, cr.at[j].y);
    vertex(cr.at[k1].x, cr.at[k1].y);
    vertex(cs.at[k1].x, cs.at[k1].y);
    vertex(cs.at[j].x, cs.at[j].y);
    endShape();
  }
}
