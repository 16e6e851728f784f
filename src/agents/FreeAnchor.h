#pragma once

#include "agents/Anchor.h"

// The loose end of the road preview: a copy of the start anchor's values
// that the Game then moves to the mouse. Its colour is always black.
class FreeAnchor : public Anchor {
 public:
  FreeAnchor() = default;
  explicit FreeAnchor(const Anchor& from) { copyFrom(from); }

  // Takes everything but the colour.
  void copyFrom(const Anchor& from) {
    at = from.position();
    heading = from.direction();
    anchorKind = from.kind();
    passable = from.isPassable();
    lineWidth = from.width();
  }

  Color3 color() const override { return {}; }
  float width() const override { return lineWidth; }
  Vec2 position() const override { return at; }
  Vec2 direction() const override { return heading; }
  bool isPassable() const override { return passable; }
  int kind() const override { return anchorKind; }

  Vec2 at;
  Vec2 heading;
  int anchorKind = kDoorKind;
  bool passable = true;
  float lineWidth = 1.0f;
};
