#pragma once

#include "buildings/OccupiedBuilding.h"

// Tired peeps come in, sleep together, and all leave rested when their
// shared rest is complete. Nights are restful: sleep runs four times as fast
// in the dark as at full day.
class SleepBuilding : public OccupiedBuilding {
 public:
  // A capacity of 0 or below makes a building that never takes anyone in.
  SleepBuilding(Game& owner, const Rect& footprint, int roomCount, int capacity);

  WorldObject* clone() override;
  void draw() override;
  void update() override;
  void affect(Peep& agent) override;
  float roomInset() override;

  float restProgress = 0.0f;
};
