#pragma once

#include "agents/Anchor.h"
#include "world/DiscObjects.h"

// A road end on a guard tower's rim. Posts are impassable, so a road between
// two of them is a wall.
class TowerPost : public Anchor {
 public:
  Color3 color() const override;
  float width() const override { return 4.0f; }
  Vec2 position() const override { return postPosition; }
  Vec2 direction() const override { return postDirection; }
  bool isPassable() const override { return false; }
  int kind() const override { return kPostKind; }

  Vec2 postDirection;  // outward unit vector
  Vec2 postPosition;
};

// A round obstacle with six road posts evenly spaced on its rim.
class GuardTower : public DiscObstacle {
 public:
  static constexpr int kPosts = 6;
  // How close a press must come to a post to grab it; not the tower radius.
  static constexpr float kPostReach = 12.0f;

  GuardTower(Game& owner, float x, float y, float radius);

  WorldObject* clone() override;
  Anchor* slotAt(float x, float y) override;
  void draw() override;
  Reach reach() override;

  // Roads keep pointers to these, so the tower must outlive its roads.
  TowerPost posts[kPosts];

 protected:
  void translate(float dx, float dy) override;
};
