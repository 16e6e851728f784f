#pragma once

#include "buildings/OccupiedBuilding.h"

// Rested peeps come in to work and each leaves tired when its own timer is
// done; the fuller the building, the faster everyone works. Work pays: every
// time the payout counter completes, money flies to the money bar.
class WorkBuilding : public OccupiedBuilding {
 public:
  // Every worker needs a timer, so capacities above this are cut to it.
  static constexpr int kMaxWorkers = 64;

  // A capacity of 0 or below makes a building that never takes anyone in.
  WorkBuilding(Game& owner, const Rect& footprint, int roomCount, int capacity);

  WorldObject* clone() override;
  void draw() override;
  void update() override;
  void affect(Peep& agent) override;
  float roomInset() override;

  // Progress per tick of every timer and of the payout: 0.0025 when full.
  float workRate() const;

  float payoutProgress = 0.0f;
  float workTimers[kMaxWorkers];  // one per worker inside, -1 when free
};
