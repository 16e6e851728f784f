#include "world/CommandTool.h"

#include "agents/Peep.h"
#include "draw/Animation.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "game/Game.h"

bool CommandTool::onMousePress(float x, float y) {
  const int caught = sweepCount;
  const bool wasArmed = armed;
  if (wasArmed) {
    owner->orderSelected(x, y);
    owner->deselectAll();
    sweepCount = 0;
  }
  armed = !wasArmed;
  return wasArmed && caught > 0;
}

void CommandTool::onMouseRelease(float, float) {
  // A sweep that caught nobody leaves nothing to order.
  if (sweepCount == 0) armed = false;
}

void CommandTool::update() {
  if (!armed || isPressed()) return;
  // The selection may have walked into buildings or away: nothing to order.
  if (owner->selectedCount() == 0) {
    armed = false;
    sweepCount = 0;
  }
}

void CommandTool::affect(Peep& agent) {
  if (!isPressed()) return;
  if (length(agent.position - mousePos) < sweepRadius() && !agent.isSelected()) {
    agent.setSelected(true);
    sweepCount += 1;
  }
  if (agent.isSelected()) agent.setTarget(mousePos.x, mousePos.y);
}

void CommandTool::draw() {
  SelectionTool::draw();
  if (!armed || isPressed()) return;
  // The armed cursor: two breathing rings and five dots circling.
  const float s = sweepRadius() * 0.5f + 4.0f;
  setAlpha(0.3f);
  setColor(kMagenta);
  outlineCircle(mousePos.x, mousePos.y, smoothStep(pulse(0.0f, 1.0f)) * 4.0f + s);

  setAlpha(0.6f);
  setLineWidth(2.0f);
  setColor(kYellow);
  outlineCircle(mousePos.x, mousePos.y, smoothStep(pulse(0.5f, 1.0f)) * 4.0f + s);
  setLineWidth(1.0f);

  setAlpha(0.7f);
  setColor(kMagenta);
  for (int i = 0; i < 5; ++i) {
    const float q = pulse(0.0f, 1.0f);
    const float h = phase(0.0f, 2.0f);
    const float m = pulse(0.0f, 1.5f);
    Vec2 dot;
    setPolarAround(dot, mousePos.x, mousePos.y, (h + 0.2f * static_cast<float>(i)) * kTwoPi,
                   smoothStep(q) * 4.0f + s);
    fillCircle(dot.x, dot.y, smoothStep(m) * 2.0f + 3.0f);
  }
  setAlpha(1.0f);
}
