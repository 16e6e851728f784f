#include "agents/FreeAnchor.h"
#include "agents/Road.h"
#include "game/Game.h"
#include "world/CommandTool.h"
#include "world/DrawnPath.h"
#include "world/Random.h"
#include "world/RepelTool.h"
#include "world/Tree.h"

// The Game's side of the cursor tools, drawn paths, roads and start trees.

void Game::replaceTool() {
  delete tool;
  tool = nullptr;
  if (repelToolActive) {
    tool = new RepelTool(*this, -1.0f);
  } else {
    tool = new CommandTool(*this);
  }
}

WorldObject* Game::newDrawnPath() {
  return new DrawnPath(*this);
}

void Game::newRoad(Anchor& a, Anchor& b) {
  new Road(*this, a, b);
}

void Game::spawnTrees(int count) {
  for (int i = 0; i < count; ++i) {
    // The size draw comes before the two position draws.
    const int r = nextRandom();
    const Vec2 p = randomPoint(playArea());
    new Tree(*this, p.x, p.y, (static_cast<float>(r) * kRandomScale + 1.0f) * 8.0f);
  }
}

void Game::drawRoadPreview() {
  const Vec2 press = pressPosition();
  Anchor* a = anchorAt(press.x, press.y, nullptr);
  if (!a) return;
  const Vec2 mouse = mouseWorldPosition();
  Anchor* b = anchorAt(mouse.x, mouse.y, a);
  FreeAnchor loose;
  if (!b) {
    // Over nothing that could take this road: the end follows the mouse.
    loose.copyFrom(*a);
    loose.at = mouse;
    const Vec2 drag = mouse - press;
    const float len = length(drag);
    loose.heading = len > 0.0f ? scaled(drag, 1.0f / len) : Vec2{};
    b = &loose;
  }
  // Lives only for this frame; it unlinks itself at the end of the scope.
  Road preview(*this, *a, *b);
  preview.draw();
}
