#pragma once

#include "world/WorldObject.h"

// A puff of smoke where a military building fires: six grey discs that
// spread out from a point and fade away, timed by the frame clock.
class Burst : public WorldObject {
 public:
  static constexpr float kHitSize = 1.0f;
  static constexpr float kMuzzleSize = 0.2f;

  Burst(Game& owner, float x, float y, float size);

  int drawLayer() override { return 3; }
  void draw() override;
  // Leaves the world once the puff has faded: nothing refers to a burst, and
  // a spent one would only lengthen every list walk for good.
  void update() override;
  Reach reach() override { return Reach::nowhere(); }

  Vec2 centre;
  float startTime;
  float duration;  // seconds: (size + 1) * 0.5
  float size;      // 1 for a hit, 0.2 at the muzzle
};
