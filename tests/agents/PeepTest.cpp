#include <gtest/gtest.h>

#include "agents/EmptyCity.h"
#include "agents/Peep.h"

namespace {

// A peep whose steering the test chooses.
class SteeredPeep : public Peep {
 public:
  SteeredPeep(Game& g, float x, float y, Vec2 s) : Peep(g, x, y, kRested), wish(s) {}
  Vec2 steering() override { return wish; }
  Vec2 wish;
};

using PeepTest = EmptyCity;

TEST_F(PeepTest, HitsAngerTheWalkOutAndACalmClone) {
  Peep p(g, 400, 400, Peep::kRested);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(p.takeHit(), i == 10) << "hit " << i;
  EXPECT_EQ(p.state, Peep::kTired);
  // A copy keeps the state but not the anger, and counts as an agent.
  auto* twin = dynamic_cast<Peep*>(p.clone());
  ASSERT_NE(twin, nullptr);
  EXPECT_EQ(twin->state, Peep::kTired);
  EXPECT_EQ(twin->anger, 0.0f);
  EXPECT_EQ(g.agentCount, 2);
  delete twin;
  EXPECT_EQ(g.agentCount, 1);
}

TEST_F(PeepTest, ArrivalAndTurning) {
  Peep seeker(g, 400, 400, Peep::kRested);
  seeker.setTarget(420, 400);  // exactly 20 away: still sought
  seeker.update();
  EXPECT_TRUE(seeker.hasTarget);
  seeker.position = {410, 400};
  seeker.update();
  EXPECT_FALSE(seeker.hasTarget);

  // Facing +x after many turns (heading 4 pi), steered toward +y: a right
  // turn of a quarter circle, not three quarters the other way.
  SteeredPeep wound(g, 400, 400, Vec2{0, 64});
  wound.heading = 4.0f * kPi;
  wound.update();
  EXPECT_GT(wound.heading, 4.0f * kPi);
  EXPECT_NEAR(wound.position.x, 404.0f, 1e-3);  // walked the old heading

  // Steered straight behind: no step forward, but the turn still happens.
  SteeredPeep back(g, 500, 300, Vec2{-64, 0});
  back.heading = 0.0f;
  back.update();
  EXPECT_EQ(back.position, (Vec2{500, 300}));
  EXPECT_NE(back.heading, 0.0f);
}

}  // namespace
