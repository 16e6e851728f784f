#pragma once

#include "world/SelectionTool.h"

// The default cursor tool: a press on open ground sweeps agents into the
// selection and leads them; the tool then stays armed and the next press
// sends the whole selection to the pressed point.
class CommandTool : public SelectionTool {
 public:
  explicit CommandTool(Game& owner) : SelectionTool(owner) {}

  // True only when an order went out, which uses up the press.
  bool onMousePress(float x, float y) override;
  void onMouseRelease(float x, float y) override;
  void draw() override;
  void update() override;
  void affect(Peep& agent) override;

  bool armed = false;
};
