#include "world/SelectionTool.h"

#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "game/Game.h"

bool SelectionTool::isPressed() {
  return mouseDown && owner->mode == 3;
}

float SelectionTool::sweepRadius() const {
  const float r = static_cast<float>(sweepCount) * 1.75f + 12.0f;
  return r < 64.0f ? r : 64.0f;
}

void SelectionTool::draw() {
  if (!isPressed()) return;
  setColor(kMagenta);
  outlineCircle(mousePos.x, mousePos.y, sweepRadius());
}
