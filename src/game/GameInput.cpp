#include "agents/Anchor.h"
#include "game/Game.h"
#include "world/WorldObject.h"

// The player's hand: buying from the palette, moving and copying objects,
// and handing presses to the current tool.

bool Game::buy(float x, float y) {
  const int i = paletteHit(x, y);
  if (i < 0) return false;
  if (costs[i] < money) {
    // A full city takes no more peeps, and the money stays.
    if (WorldObject* c = prototypes[i]->clone()) {
      money -= costs[i];
      c->inactive = false;
      c->settling = true;
    }
  }
  return true;  // the press is used up even when the item is too dear
}

void Game::placePrototype(WorldObject* object, float cost) {
  for (int slot = 0; slot < kPaletteSlots; ++slot) {
    if (!prototypes[slot]) {
      object->inactive = true;
      prototypes[slot] = object;
      costs[slot] = cost;
      return;
    }
  }
  delete object;
}

void Game::onMouseDown(float x, float y) {
  if (helpShown) {
    closeHelp();
    releaseClosedHelp_ = true;
    return;
  }
  if (paused) return;
  if (buy(x, y)) {
    mode = 2;
    return;
  }
  if (isShiftDown() != repelToolActive) {
    repelToolActive = !repelToolActive;
    replaceTool();
  }
  if (tool && tool->onMousePress(x, y)) return;

  mode = 3;
  held = objectAt(x, y);
  if (held) {
    if (!held->onMousePress(x, y)) {
      // Alt as the game always had it; Ctrl too, since most window
      // managers take Alt-drag to move windows.
      if (isAltDown() || isCtrlDown()) {
        if (WorldObject* copy = held->clone()) held = copy;
      }
      mode = 1;
    } else {
      mode = 2;
    }
    return;
  }
  if (anchorAt(x, y, nullptr)) {
    mode = 4;
    return;
  }
  if (drawRoads) {
    held = newDrawnPath();
    if (held) mode = 2;
  }
}

void Game::onMouseMove(float dx, float dy) {
  if (paused) return;
  if (mode == 3 && tool) tool->onMouseDrag(dx, dy);
  const Vec2 v = mouseVelocity;
  mouseVelocity.x = v.x + ((v.x + dx) - v.x) * 0.8f;
  mouseVelocity.y = v.y + ((v.y + dy) - v.y) * 0.8f;
  if (mode == 1) held->moveBy(dx, dy);
}

void Game::onMouseUp(float x, float y) {
  if (releaseClosedHelp_) {
    releaseClosedHelp_ = false;
    return;
  }
  if (paused) return;
  if (mode == 4) {
    const Vec2 press = pressPosition();
    const Vec2 mouse = mouseWorldPosition();
    Anchor* a = anchorAt(press.x, press.y, nullptr);
    Anchor* b = anchorAt(mouse.x, mouse.y, nullptr);
    if (a && b) newRoad(*a, *b);
  }
  if (tool) tool->onMouseRelease(x, y);
  if (held) {
    const Vec2 mouse = mouseWorldPosition();
    held->onDrop(mouse.x, mouse.y);
  }
  held = nullptr;
  mode = 0;
}
