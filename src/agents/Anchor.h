#pragma once

#include "world/Geometry.h"

// A road end: building doors, guard-tower posts and the free end of the
// road preview. Roads between two impassable anchors are walls.
class Anchor {
 public:
  enum Kind { kDoorKind = 0, kPostKind = 1 };

  virtual ~Anchor() = default;
  virtual Color3 color() const = 0;
  virtual float width() const = 0;
  virtual Vec2 position() const = 0;
  virtual Vec2 direction() const = 0;
  virtual bool isPassable() const = 0;
  virtual int kind() const = 0;
};
