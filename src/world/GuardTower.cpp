#include "world/GuardTower.h"

#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/StillPicture.h"

namespace {
constexpr float kPostStep = kTwoPi / 6;
constexpr Color3 kPostColor{1.0f - 0.9f, 1.0f - 0.9f, 1.0f - 0.9f};  // white darkened by 0.9
constexpr Color3 kTowerBody{222.0f / 255, 127.0f / 255, 69.0f / 255};
}  // namespace

Color3 TowerPost::color() const {
  return kPostColor;
}

GuardTower::GuardTower(Game& owner, float x, float y, float r) : DiscObstacle(owner, x, y, r) {
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
  DiscObstacle::translate(dx, dy);
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
  outlineCircle(centre.x, centre.y, radius - radius * (1.0f / 3));
  setAlpha(1.0f);
}

Reach GuardTower::reach() {
  Reach r = DiscObstacle::reach();
  for (const TowerPost& p : posts) r.slot = unite(r.slot, reachAround(p.postPosition, kPostReach));
  return r;
}
