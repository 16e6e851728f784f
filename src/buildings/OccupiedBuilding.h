#pragma once

#include "buildings/Building.h"

// What the sleep and the work building share: peeps of one state come in up
// to a capacity, the pull weakens as the building fills, and the debug view
// shows the count. A capacity of 0 or below makes a building that is always
// full and never takes anyone in, so nothing here divides by it.
class OccupiedBuilding : public Building {
 public:
  void drawDebug() override;
  int population() override { return occupants; }
  bool accepts(Peep& agent) override;
  float attraction(Peep& agent, float& strength) override;
  // Peeps are taken in on the footprint; while places are free the pull
  // reaches about the whole field.
  Reach reach() override;

  // The pull reaches far while places are free and vanishes when full.
  float freeRadius() const;
  // occupants / capacity, 0 for a building without places.
  float fill() const;

  int occupants = 0;
  int capacity;

 protected:
  // The capacity is kept within 0..maximum.
  OccupiedBuilding(Game& owner, const Rect& footprint, int roomCount, int capacity, int maximum,
                   int wantedState);

  // Takes the agent in when it has the wanted state (only the number counts,
  // so creeps of that number pass too), a place is free and it stands on the
  // footprint: counts it and marks it for deletion. True when it was taken.
  bool admit(Peep& agent);
  // Lets count occupants out as new peeps of the given state.
  void letOut(int count, int state);

 private:
  int wantedState_;
};
