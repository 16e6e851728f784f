#include "world/GuardTower.h"

#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/StillPicture.h"

namespace {
constexpr float kPostStep = 1.0471976f;  // a sixth of a turn
constexpr Color3 kPostColor{0.100000024f, 0.100000024f, 0.100000024f};
constexpr Color3 kTowerBody{0.87058824f, 0.49803922f, 0.27058825f};
}  // namespace

Color3 TowerPost::color() const {
  return kPostColor;
}

GuardTower::GuardTower(Game& owner, float x, float y, float r) : DiscObject(owner, x, y, r) {
  // Post 0 points along +x; the rest follow toward +y in sixths of a turn.
  for (int i = 0; i < kPosts; ++i) {
    const float angle = static_cast<float>(i) * kPostStep;
    setPolar(posts[i].postDirection, angle, 1.0f);
    setPolarAround(posts[i].postPosition, centre.x, centre.y, angle, radius);
  }
}

WorldObject* GuardTower::clone() {
  return new GuardTower(*owner, centre.x, centre.y, radius);
}

void GuardTower::translate(float dx, float dy) {
  DiscObject::translate(dx, dy);
  for (TowerPost& p : posts) {
    p.postPosition.x += dx;
    p.postPosition.y += dy;
  }
}

Anchor* GuardTower::slotAt(float x, float y) {
  for (TowerPost& p : posts) {
    if (distanceTo(p.postPosition, x, y) < kPostReach) return &p;
  }
  return nullptr;
}

void GuardTower::draw() {
  StillPicture picture({serial(), PictureKind::Colour, pictureState()}, pictureBounds());
  if (!picture.needsDrawing()) return;
  setColor(kBlack);
  for (const TowerPost& p : posts) fillCircle(p.postPosition.x, p.postPosition.y, 3.0f);

  setColor(kTowerBody);
  fillCircle(centre.x, centre.y, radius);

  setAlpha(0.3f);
  setColor(kWhite);
  fillCircle(centre.x - 0.125f * radius, centre.y - 0.125f * radius, 0.25f * radius);

  setAlpha(1.0f);
  setAlpha(0.25f);
  setColor(kBlack);
  outlineCircle(centre.x, centre.y, radius);
  outlineCircle(centre.x, centre.y, radius - radius * 0.33333334f);
  setAlpha(1.0f);
}

void GuardTower::drawShadow(float lightX, float lightY) {
  ShadowPicture shadow(serial(), pictureState(), pictureBounds(), lightX, lightY);
  if (shadow.needsDrawing()) discShadow(centre, radius, shadow.light().x, shadow.light().y);
}

Vec2 GuardTower::separation(Peep& agent) {
  return discSeparation(centre, radius, agent);
}

Vec2 GuardTower::avoidance(Peep& agent) {
  return discAvoidance(centre, radius, agent);
}

Reach GuardTower::reach() {
  Reach r = DiscObject::reach();
  r.separation = discSeparationReach(centre, radius);
  r.avoidance = discAvoidanceReach(centre, radius);
  for (const TowerPost& p : posts) r.slot = unite(r.slot, reachAround(p.postPosition, kPostReach));
  return r;
}
