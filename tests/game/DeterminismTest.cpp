#include <gtest/gtest.h>

#include "game/Replay.h"
#include "game/WorldDigest.h"

namespace {

// 3000 ticks of the same scripted hand on a seed: a bought peep, a drag
// across the field and the wheel both ways.
std::string worldAfter(uint32_t seed) {
  ReplayScript script;
  EXPECT_TRUE(parseReplayScript("seed " + std::to_string(seed) +
                                    "\nticks 3000\n50 click 102 182\n399 drag 400 400 449 400 49\n"
                                    "900 wheel 1\n1300 wheel -1\n",
                                script));
  ReplayRun run(script);
  run.run();
  return describeWorld(run.game());
}

TEST(Determinism, SameSeedAndInputGiveTheSameWorld) {
  const std::string world = worldAfter(12345);
  EXPECT_EQ(worldAfter(12345), world);
  EXPECT_NE(worldAfter(54321), world);
}

}  // namespace
