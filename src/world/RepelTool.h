#pragma once

#include "world/WorldObject.h"

// The Shift tool: every second a ring grows round the cursor and shoves the
// agents inside it away (or, with a positive strength, pulls them in).
class RepelTool : public WorldObject {
 public:
  static constexpr float kRingRadius = 64.0f;

  explicit RepelTool(Game& owner, float strength = -1.0f) : WorldObject(owner), strength(strength) {}

  int drawLayer() override { return 4; }
  void draw() override;
  void drawDebug() override;
  Vec2 avoidance(Peep& agent) override;
  // Only a press on open ground (the Game's mode 3) belongs to a tool.
  bool isPressed() override;

  // The radius the shove reaches at this moment.
  float ringRadius() const;

  float strength;
};
