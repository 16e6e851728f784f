#pragma once

#include "world/WorldObject.h"

// The play area: a thin blue frame that opens from the centre, and a soft
// fence that keeps the city's own agents inside.
class Zone : public WorldObject {
 public:
  Zone(Game& owner, const Rect& target);

  void draw() override;
  void update() override;
  Vec2 separation(Peep& agent) override;
  Vec2 avoidance(Peep& agent) override;
  // Everywhere for the two fences: they push from outside and near the rim.
  Reach reach() override;

  Rect shownRect;
  Rect targetRect;
};
