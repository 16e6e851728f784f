#pragma once

#include "world/DiscObjects.h"

// A round pool that agents are pushed out of and steer around.
class Fountain : public DiscObject {
 public:
  Fountain(Game& owner, float x, float y, float radius) : DiscObject(owner, x, y, radius) {}

  WorldObject* clone() override;
  void draw() override;
  void drawShadow(float lightX, float lightY) override;
  Vec2 separation(Peep& agent) override;
  Vec2 avoidance(Peep& agent) override;
  Reach reach() override;
};
