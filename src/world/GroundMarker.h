#pragma once

#include "world/DiscObjects.h"

// A flat marker under everything that draws agents within twice its radius
// toward its centre. Only its small middle can be picked up.
class GroundMarker : public DiscObject {
 public:
  static constexpr float kHitRadius = 8.0f;

  GroundMarker(Game& owner, float x, float y, float radius) : DiscObject(owner, x, y, radius) {}

  WorldObject* clone() override;
  bool containsPoint(float x, float y) override;
  int drawLayer() override { return 0; }
  void draw() override;
  Vec2 avoidance(Peep& agent) override;
  Reach reach() override;
};
