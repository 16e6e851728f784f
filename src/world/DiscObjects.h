#pragma once

#include <cstdint>

#include "world/WorldObject.h"

// The three routines every round obstacle shares (fountains, guard towers,
// tree blobs, and buildings through the circle round their footprint).

// Shadow of the disc cast away from the light point, longer and wider the
// farther the light; colour and alpha are the caller's.
void discShadow(Vec2 centre, float radius, float lightX, float lightY);
// Push out of an overlapped disc: up to 5 units at the centre, 0 at the rim.
Vec2 discSeparation(Vec2 centre, float radius, const Peep& agent);
// Steer away from a disc the agent is heading at, stronger the nearer it is
// and the straighter it heads.
Vec2 discAvoidance(Vec2 centre, float radius, const Peep& agent);
// The agent positions at which each can be anything but zero (see Reach).
Rect discSeparationReach(Vec2 centre, float radius);
Rect discAvoidanceReach(Vec2 centre, float radius);

// A world object that is a disc: a centre and a radius.
class DiscObject : public WorldObject {
 public:
  DiscObject(Game& owner, float x, float y, float r) : WorldObject(owner), centre{x, y}, radius(r) {}

  bool containsPoint(float x, float y) override;
  Rect bounds() override;
  // Found by objectAt only.
  Reach reach() override;
  // Where its picture can reach (posts and edges included), and a digest of
  // what the picture depends on.
  Rect pictureBounds() const;
  uint64_t pictureState() const;

  Vec2 centre;
  float radius;

 protected:
  void translate(float dx, float dy) override;
};

// A disc that stands in the way (fountains, guard towers): it casts a
// disc's shadow, and agents are pushed out of it and steer around it.
class DiscObstacle : public DiscObject {
 public:
  using DiscObject::DiscObject;

  void drawShadow(float lightX, float lightY) override;
  Vec2 separation(Peep& agent) override;
  Vec2 avoidance(Peep& agent) override;
  Reach reach() override;
};
