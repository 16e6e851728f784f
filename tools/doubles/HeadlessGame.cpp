#include "doubles/HeadlessGame.h"

#include "world/WorldObject.h"

void clearWorld(Game& game) {
  while (game.worldHead) delete game.worldHead;
  game.zone = nullptr;
  game.tool = nullptr;
  game.held = nullptr;
  for (WorldObject*& p : game.prototypes) p = nullptr;
}
