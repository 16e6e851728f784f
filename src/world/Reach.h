#pragma once

#include <limits>

#include "world/Geometry.h"

constexpr float kInfinity = std::numeric_limits<float>::infinity();
// Boxes that hold every point and none.
constexpr Rect kEverywhere{-kInfinity, kInfinity, -kInfinity, kInfinity};
constexpr Rect kNowhere{kInfinity, -kInfinity, kInfinity, -kInfinity};

// Where the world's queries can find an object. For each query, a box holds
// every agent position (for objectAt and anchorAt, every point) at which the
// object can answer anything but zero: outside it separation, avoidance and
// alignment are exactly zero, affect does nothing, containsPoint is false
// and slotAt finds nothing, whatever else the agent is. Avoidance boxes assume a steady agent: finite
// position and heading, speed from 0 to Peep::kTopSpeed.
//
// The boxes of a reach that follows a point (an agent's position) are
// relative to it and move with it. All others hold until the object moves
// or says its reach changed (WorldObject::reachChanged), or, for one that
// hangs on others (a wall on two towers' posts), until any object moves.
struct Reach {
  const Vec2* follows = nullptr;
  bool hangsOnOthers = false;
  Rect separation = kEverywhere;
  Rect avoidance = kEverywhere;
  Rect alignment = kEverywhere;
  Rect affect = kEverywhere;
  Rect point = kEverywhere;
  Rect slot = kEverywhere;

  // A reach that nothing finds.
  static Reach nowhere() {
    return {nullptr, false, kNowhere, kNowhere, kNowhere, kNowhere, kNowhere, kNowhere};
  }
};

// Every point within distance of the box (or of the point), with a margin
// for the rounding of the tests the box stands for. Everywhere when an input
// is not finite or the distance is negative, since such a box proves nothing.
Rect reachAround(const Rect& box, float distance);
Rect reachAround(Vec2 centre, float distance);
// The smallest box holding both.
Rect unite(const Rect& a, const Rect& b);
bool isNowhere(const Rect& r);
// True when p is provably outside r; never for a NaN.
inline bool outside(const Rect& r, Vec2 p) {
  return p.x < r.minX || p.x > r.maxX || p.y < r.minY || p.y > r.maxY;
}
