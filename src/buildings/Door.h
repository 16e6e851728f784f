#pragma once

#include "agents/Anchor.h"
#include "world/Geometry.h"

// A door cut into a building's outer wall. Roads attach to it, and peeps
// walk through it; it is open to traffic whatever its swing.
class Door : public Anchor {
 public:
  Color3 color() const override { return {0.8f, 0.8f, 0.8f}; }
  float width() const override { return span; }
  Vec2 position() const override { return midpoint(); }
  Vec2 direction() const override { return normal; }
  bool isPassable() const override { return true; }
  int kind() const override { return kDoorKind; }

  Vec2 midpoint() const { return {end1.x + (end2.x - end1.x) * 0.5f, end1.y + (end2.y - end1.y) * 0.5f}; }
  void moveBy(float dx, float dy);

  Vec2 end1;
  Vec2 end2;
  Vec2 normal;     // outward unit vector of the wall the door is on
  float span = 0;  // length of the door line (the anchor's width)
};

// The shared swing of a building's doors: all of them open and close
// together over half a second, eased at both ends.
struct DoorSwing {
  static constexpr float kDuration = 0.5f;

  // 0 closed .. 1 open, read from the frame clock.
  float openness() const;
  // Starts a movement towards open or closed. Asking again for the way the
  // doors already go does not restart it; a reversal starts from where the
  // doors are now.
  void setOpen(bool open);

  float openFrom = 0.0f;
  float openTo = 0.0f;
  float moveStart = 0.0f;
  float moveDuration = kDuration;
};
