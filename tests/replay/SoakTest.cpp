#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "game/Game.h"
#include "replay/RandomInput.h"
#include "replay/Replay.h"
#include "replay/WorldDigest.h"

// A long run of random play; in the sanitizer build any memory error,
// undefined behaviour or leak fails it. VERLOMBA_SOAK_TICKS sets its length
// (`make soak` runs 200,000 ticks) and VERLOMBA_SOAK_SEED its seed; a failing
// run can be replayed with `verlomba-replay --random SEED TICKS`.

namespace {

long fromEnvironment(const char* name, long fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

TEST(Soak, RandomPlayKeepsTheWorldBounded) {
  const ReplayScript script = soakScript(static_cast<uint32_t>(fromEnvironment("VERLOMBA_SOAK_SEED", 20240)),
                                         static_cast<int>(fromEnvironment("VERLOMBA_SOAK_TICKS", 30000)));
  ReplayRun run(script);
  RandomInput player(script.seed);
  // Once the build budget is spent the city is built; from then on only the
  // game itself could make the world grow. Creep attacks and crowds come and
  // go, so besides the most objects each half also keeps its mean, which
  // rare peaks do not move.
  struct Half {
    int most = 0;
    double sum = 0.0;
    int ticks = 0;
    double mean() const { return ticks ? sum / ticks : 0.0; }
  } building, first, second;
  int builtAt = 0;
  auto lasting = [](Game& g) {
    const WorldCensus c = takeCensus(g);
    return c.buildings() + c.trees + c.fountains + c.guardTowers + c.roads + c.paths;
  };
  const int lastingAtStart = lasting(run.game());
  playRandomly(run, player, [&](ReplayRun& r) {
    if (builtAt == 0 && player.budgetLeft() == 0) builtAt = r.tick();
    Half& h = builtAt == 0 ? building : r.tick() - builtAt < (script.ticks - builtAt) / 2 ? first : second;
    h.most = std::max(h.most, r.stats().objects);
    h.sum += r.stats().objects;
    h.ticks += 1;
  });

  std::printf(
      "[ soak ] seed %u, %d ticks; city built at tick %d; objects most (mean): %d (%.1f) while "
      "building, %d (%.1f) and %d (%.1f) in the halves after; at most %d agents\n[ soak ] %s\n",
      script.seed, script.ticks, builtAt, building.most, building.mean(), first.most, first.mean(),
      second.most, second.mean(), run.stats().maxAgents, run.summary().c_str());

  ASSERT_GT(builtAt, 0) << "the player never spent its build budget";
  EXPECT_LT(builtAt, script.ticks / 2);
  // Nothing but the player's budgeted actions makes a lasting object.
  EXPECT_LE(lasting(run.game()), lastingAtStart + RandomInput::Options().buildBudget);
  EXPECT_LE(second.mean(), first.mean() * 1.15 + 5.0);
  EXPECT_LE(second.most, first.most * 3 / 2 + 10);
  EXPECT_LE(run.stats().maxObjects, 300);
  EXPECT_GT(run.stats().creepsSpawned, 0);
}

}  // namespace
