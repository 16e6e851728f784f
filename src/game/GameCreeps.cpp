#include <algorithm>

#include "agents/Creep.h"
#include "game/Game.h"

namespace {
constexpr int kAttackLifetime = 300;  // ticks of hunting: 10 s at 30 frames per second
constexpr int kMinimumAttack = 3;
}  // namespace

void Game::spawnCreeps(int count, int lifetime) {
  // Not capped by the agent limit: an attack is never softened by a full city.
  for (int i = 0; i < count; ++i) {
    const Rect area = playArea();
    const Vec2 p = randomPoint(area);
    const Vec2 e = pushOutToEdge(area, p.x, p.y);
    new Creep(*this, e.x, e.y, lifetime);
  }
}

void Game::creepAttack() {
  spawnCreeps(std::max(kMinimumAttack, peepCount() / 4), kAttackLifetime);
}
