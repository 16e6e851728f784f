#pragma once

#include "buildings/Building.h"

// Defends the city against creeps. Armed with a click on its switch, it takes
// in up to two passing peeps as soldiers; its turret turns towards the
// nearest creep in range and fires when it points at a hunting one, which
// sends the creep home. Range and turning speed grow with every soldier.
// Disarming sends the soldiers out again, tired.
class MilitaryBuilding : public Building {
 public:
  static constexpr int kMaxSoldiers = 2;
  static constexpr float kRangePerSoldier = 64.0f;
  static constexpr float kRecruitRadius = 128.0f;
  static constexpr float kFiringCone = kPi / 18;  // 10 degrees either side
  static constexpr int kTargetMemory = 30;        // ticks a sighting stays valid

  MilitaryBuilding(Game& owner, const Rect& footprint, int roomCount);

  // A fresh building on the same footprint: disarmed, without soldiers.
  WorldObject* clone() override;
  // The switch arms or disarms; a press anywhere else is not handled here.
  bool onMousePress(float x, float y) override;
  void drawDebug() override;
  void draw() override;
  void update() override;
  // Creeps are aimed at and shot; any other agent may be recruited.
  void affect(Peep& agent) override;
  bool accepts(Peep& agent) override;
  float attraction(Peep& agent, float& strength) override;
  // Armed or not, the recruits' pull and the range are counted in, since the
  // switch and new soldiers change them between readings.
  Reach reach() override;

  float range() const { return static_cast<float>(soldiers) * kRangePerSoldier; }
  // Radians per tick: one degree per soldier.
  float turnSpeed() const;
  Vec2 muzzlePoint() const;

  bool hasTarget = false;
  Vec2 target;          // where the target creep was last seen
  int targetFrame = 0;  // the game's frame counter at that sighting
  bool armed = false;
  float turretAngle = 0.0f;  // radians from the footprint centre
  int soldiers = 0;
};
