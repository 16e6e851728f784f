// The tick of a crowded world: 96 peeps among ten full drawn paths, and 96
// peeps inside a ring of twenty guard towers joined by walls. Both worlds are
// built headless with drawing going nowhere.

#include <benchmark/benchmark.h>

#include "WorldParts.h"
#include "agents/Peep.h"
#include "doubles/HeadlessGame.h"
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
  for (int k = 0; k < 10; ++k)
    addSweepingPath(g, 170.0f, 650.0f, 180.0f + 47.0f * static_cast<float>(k), 9.0f, 20.0f);
  g.spawnPeeps(Game::kMaxAgents, Peep::kRested);
  for (auto _ : state) h.tick();
  state.counters["agents"] = static_cast<double>(g.agentCount);
}
BENCHMARK(BM_TickWithTenDrawnPaths)->Unit(benchmark::kMicrosecond);

void BM_TickInsideARingOfWalls(benchmark::State& state) {
  HeadlessGame h(3);
  Game& g = h.game();
  emptyTheField(g);
  wallRing(g, addTowerEllipse(g, 20, Vec2{400.0f, 400.0f}, 200.0f, 200.0f, 12.0f));
  g.spawnPeeps(Game::kMaxAgents, Peep::kRested);
  for (auto _ : state) h.tick();
  state.counters["agents"] = static_cast<double>(g.agentCount);
}
BENCHMARK(BM_TickInsideARingOfWalls)->Unit(benchmark::kMicrosecond);

}  // namespace
