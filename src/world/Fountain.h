#pragma once

#include "world/DiscObjects.h"

// A round pool with shimmering water.
class Fountain : public DiscObstacle {
 public:
  Fountain(Game& owner, float x, float y, float radius) : DiscObstacle(owner, x, y, radius) {}

  WorldObject* clone() override;
  void draw() override;
};
