// The tick of a crowded world: 96 peeps among ten full drawn paths, and 96
// peeps inside a ring of twenty guard towers joined by walls. Both worlds are
// built headless with drawing going nowhere.

#include <benchmark/benchmark.h>

#include <cmath>

#include "agents/Peep.h"
#include "agents/Road.h"
#include "support/HeadlessGame.h"
#include "world/DrawnPath.h"
#include "world/GuardTower.h"
#include "world/WorldObject.h"
#include "world/Zone.h"

namespace {

// Keeps the zone and the tool; everything else goes.
void emptyTheField(Game& g) {
  while (g.worldHead) delete g.worldHead;
  g.zone = nullptr;
  g.tool = nullptr;
  g.held = nullptr;
  for (WorldObject*& p : g.prototypes) p = nullptr;
  g.zone = new Zone(g, Rect{150, 650, 150, 650});
  g.zone->shownRect = g.zone->targetRect;
  g.repelToolActive = false;
  g.replaceTool();
}

void BM_TickWithTenDrawnPaths(benchmark::State& state) {
  HeadlessGame h(3);
  Game& g = h.game();
  emptyTheField(g);
  // Ten 256-point trails zigzagging across the field, as a player would
  // scribble them.
  for (int k = 0; k < 10; ++k) {
    DrawnPath* path = new DrawnPath(g);
    for (int i = 0; i < DrawnPath::kMaxPoints; ++i) {
      const float x = 170.0f + static_cast<float>(i % 64) * 7.5f;
      const float y = 180.0f + 47.0f * static_cast<float>(k) +
                      20.0f * std::sin(0.3f * static_cast<float>(i)) + static_cast<float>(i / 64) * 9.0f;
      path->addPoint((i / 64) % 2 ? 820.0f - x : x, y, 6.0f);
    }
  }
  g.spawnPeeps(Game::kMaxAgents, Peep::kRested);
  for (auto _ : state) h.tick();
  state.counters["agents"] = static_cast<double>(g.agentCount);
}
BENCHMARK(BM_TickWithTenDrawnPaths)->Unit(benchmark::kMicrosecond);

void BM_TickInsideARingOfWalls(benchmark::State& state) {
  HeadlessGame h(3);
  Game& g = h.game();
  emptyTheField(g);
  constexpr int kTowers = 20;
  GuardTower* towers[kTowers];
  for (int i = 0; i < kTowers; ++i) {
    const float a = kTwoPi * static_cast<float>(i) / kTowers;
    towers[i] = new GuardTower(g, 400.0f + 200.0f * std::cos(a), 400.0f + 200.0f * std::sin(a), 12.0f);
  }
  for (int i = 0; i < kTowers; ++i) {
    GuardTower& from = *towers[i];
    GuardTower& to = *towers[(i + 1) % kTowers];
    new Road(g, from.posts[2], to.posts[5]);
  }
  g.spawnPeeps(Game::kMaxAgents, Peep::kRested);
  for (auto _ : state) h.tick();
  state.counters["agents"] = static_cast<double>(g.agentCount);
}
BENCHMARK(BM_TickInsideARingOfWalls)->Unit(benchmark::kMicrosecond);

}  // namespace
