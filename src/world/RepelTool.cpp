#include "world/RepelTool.h"

#include "agents/Peep.h"
#include "draw/Animation.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "game/Game.h"

bool RepelTool::isPressed() {
  return mouseDown && owner->mode == 3;
}

float RepelTool::ringRadius() const {
  return phase(pulsePhase, 1.0f) * kRingRadius;
}

Vec2 RepelTool::avoidance(Peep& agent) {
  Vec2 v = mousePos - agent.position;
  const float d = length(v);
  const float ring = ringRadius();
  if (!(d < ring)) return {};
  clampLength(v, 16.0f);
  scaleBy(v, strength);
  const float fade = 1.0f - d / ring;
  return scaled(v, 20.0f * fade * fade);
}

void RepelTool::draw() {
  setColor(kMagenta);
  setAlpha(0.5f);
  const float grow = phase(pulsePhase, 1.0f) * 32.0f;
  for (int i = 0; i < 2; ++i) {
    outlineCircle(mousePos.x, mousePos.y, grow + (pulse(static_cast<float>(i), 0.75f) - 0.5f) * 8.0f);
  }
  setAlpha(1.0f);
}

void RepelTool::drawDebug() {
  setAlpha(0.5f);
  setColor(kBlue);
  const float x = phase(0.0f, 1.0f);
  outlineCircle(mousePos.x, mousePos.y, 16.0f - x * strength * 16.0f);
  setAlpha(0.25f);
  outlineCircle(mousePos.x, mousePos.y, ringRadius());
}
