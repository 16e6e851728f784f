#include "game/Game.h"
#include "world/WorldObject.h"

// Kinds that have not landed yet.
void Game::replaceTool() {
  delete tool;
  tool = nullptr;
}
WorldObject* Game::newDrawnPath() { return nullptr; }
void Game::newRoad(Anchor&, Anchor&) {}
void Game::spawnTrees(int) {}
void Game::spawnCreeps(int, int) {}
void Game::drawRoadPreview() {}
void Game::creepAttack() {}
