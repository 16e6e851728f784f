#pragma once

#include "buildings/Building.h"

// Tired peeps come in, sleep together, and all leave rested when their
// shared rest is complete. Nights are restful: sleep runs four times as fast
// in the dark as at full day.
class SleepBuilding : public Building {
 public:
  // A capacity of 0 or below makes a building that never takes anyone in.
  SleepBuilding(Game& owner, const Rect& footprint, int roomCount, int capacity);

  WorldObject* clone() override;
  void drawDebug() override;
  void draw() override;
  void update() override;
  void affect(Peep& agent) override;
  int population() override { return occupants; }
  float roomInset() override;
  bool accepts(Peep& agent) override;
  float attraction(Peep& agent, float& strength) override;

  // The pull reaches far while beds are free and vanishes when full.
  float freeRadius() const;
  // occupants / capacity, 0 for a building without beds.
  float fill() const;

  int occupants = 0;
  int capacity;
  float restProgress = 0.0f;
};
