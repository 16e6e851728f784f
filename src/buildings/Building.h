#pragma once

#include <cstdint>

#include "buildings/BuildingLayout.h"
#include "buildings/Door.h"
#include "draw/DrawBackend.h"
#include "world/WorldObject.h"

class Peep;

// Common base of every building: a footprint filled with a random cluster of
// rooms, up to four doors on its outer sides and a switch in its corner.
// Buildings never hold peeps as objects: the types that take peeps in count
// them and mark the peep for deletion, and later create new ones.
class Building : public WorldObject {
 public:
  Building(Game& owner, const Rect& footprint, int roomCount);

  WorldObject* clone() override;
  bool containsPoint(float x, float y) override;
  Anchor* slotAt(float x, float y) override;
  void draw() override;
  void drawShadow(float lightX, float lightY) override;
  Vec2 separation(Peep& agent) override;
  Vec2 avoidance(Peep& agent) override;
  Rect bounds() override { return footprint; }
  Reach reach() override;

  // How much draw shrinks each room; negative values swell it.
  virtual float roomInset();
  // Whether the building wants this agent to come in.
  virtual bool accepts(Peep&) { return false; }
  // Radius within which the agent is pulled towards the building (0: not
  // at all); the pull's strength goes to the out-value.
  virtual float attraction(Peep&, float& /*strength*/) { return 0.0f; }

  float openness() const { return doorSwing.openness(); }
  void setDoorsOpen(bool open) { doorSwing.setOpen(open); }
  Rect switchRect() const { return switchRectOf(footprint); }
  // First used room holding the point (edges inclusive), or -1.
  int roomAt(float x, float y) const;
  // Lets count new peeps of the given state out at random footprint points.
  void releasePeeps(int count, int state);
  Vec2 centre() const;
  float footprintWidth() const { return footprint.maxX - footprint.minX; }
  float footprintHeight() const { return footprint.maxY - footprint.minY; }

  float entryTime = 0.0f;
  Rect footprint;
  int roomCount = 0;
  Rect rooms[kMaxRooms] = {};
  int doorCount = 0;
  Door doors[kMaxDoors];
  DoorSwing doorSwing;
  // The generator's state the rooms were drawn from: with the footprint and
  // room count at the time, all a saved city needs of a building that never
  // moved.
  uint32_t shapeSeed = 0;

 protected:
  void translate(float dx, float dy) override;
  // Drawing pieces shared by the building types (BuildingDrawing.cpp).
  void drawRooms(const Color3& outline, const Color3& fill, float inset);
  void drawDoors(bool light);
  void drawSwitch(bool on, bool highlight);
  // The still body of its picture (rooms, roof, chimneys, domes) with rooms
  // drawn at this inset: its key, and where it can reach.
  PictureKey bodyKey(float inset) const;
  Rect bodyBounds() const;
  // A bar under the footprint in row 0 or 1, filled from fraction a to b.
  void drawProgressBar(int row, const Color3& background, const Color3& bar, float a, float b);
  // Items drifting up from (x0, y0) and fading out, staggered in time;
  // lift is how far above the origin they start, in footprint heights.
  using PuffDrawer = void (*)(int item, float x, float y);
  void drawRisingPuffs(int count, float x0, float y0, float lift, PuffDrawer drawItem);

 private:
  friend struct CityFields;
  // Fixed per building so neighbours do not puff in step.
  float puffPhase_;
};

// The capital: a plain building with its own picture (domes and a pennant).
class CapitalBuilding : public Building {
 public:
  CapitalBuilding(Game& owner, const Rect& footprint, int roomCount)
      : Building(owner, footprint, roomCount) {}
  WorldObject* clone() override;
  void draw() override;
};
