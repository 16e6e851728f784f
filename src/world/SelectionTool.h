#pragma once

#include "world/WorldObject.h"

// The part of the command tool that sweeps: a circle round the cursor that
// grows with every agent it catches.
class SelectionTool : public WorldObject {
 public:
  explicit SelectionTool(Game& owner) : WorldObject(owner) {}

  int drawLayer() override { return 4; }
  // The sweep circle while pressed.
  void draw() override;
  // Only a press on open ground (the Game's mode 3) belongs to a tool.
  bool isPressed() override;

  // 12 with nothing caught, 1.75 more per agent, never past 64.
  float sweepRadius() const;

  int sweepCount = 0;
};
