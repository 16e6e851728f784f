#include <gtest/gtest.h>

#include "agents/Peep.h"
#include "support/HeadlessGame.h"
#include "world/Zone.h"

namespace {

// A peep whose steering the test chooses.
class SteeredPeep : public Peep {
 public:
  SteeredPeep(Game& g, float x, float y, Vec2 s) : Peep(g, x, y, kRested), wish(s) {}
  Vec2 steering() override { return wish; }
  Vec2 wish;
};

class PeepTest : public ::testing::Test {
 protected:
  // Nothing but an open zone.
  void SetUp() override {
    clearWorld(g);
    g.zone = new Zone(g, Rect{150, 650, 150, 650});
    g.zone->shownRect = g.zone->targetRect;  // fully open: no fence push
  }
  HeadlessGame h;
  Game& g = h.game();
};

TEST_F(PeepTest, HitsAngerAndTheWalkOut) {
  Peep p(g, 400, 400, Peep::kRested);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(p.takeHit(), i == 10) << "hit " << i;
  EXPECT_EQ(p.anger, 1.0f);
  EXPECT_EQ(p.state, Peep::kTired);
  EXPECT_EQ(p.bodyColor.r, Peep::StateColors[Peep::kTired].r);

  // Full anger inside the play area (its edge included) keeps a tired peep;
  // outside, it is removed in the same tick. A rested peep is never removed
  // by its own code.
  auto removedAtFullAnger = [this](float x, int state) {
    Peep p(g, x, 400, state);
    p.anger = 1.0f;
    p.update();
    EXPECT_LE(p.anger, 1.0f);
    return p.destroyRequested;
  };
  EXPECT_FALSE(removedAtFullAnger(650, Peep::kTired));
  EXPECT_TRUE(removedAtFullAnger(720, Peep::kTired));
  EXPECT_FALSE(removedAtFullAnger(720, Peep::kRested));
}

TEST_F(PeepTest, CloneStartsFreshAndCountsAsAnAgent) {
  Peep original(g, 300, 310, Peep::kTired);
  original.setTarget(500, 500);
  original.anger = 0.5f;
  original.setSelected(true);
  EXPECT_EQ(g.agentCount, 1);
  auto* twin = dynamic_cast<Peep*>(original.clone());
  ASSERT_NE(twin, nullptr);
  EXPECT_EQ(g.agentCount, 2);
  EXPECT_EQ(twin->state, Peep::kTired);
  EXPECT_FALSE(twin->hasTarget || twin->isSelected());
  EXPECT_EQ(twin->anger, 0.0f);
  delete twin;
  EXPECT_EQ(g.agentCount, 1);
}

TEST_F(PeepTest, ArrivalSpeedAndTurning) {
  Peep seeker(g, 400, 400, Peep::kRested);
  seeker.setTarget(420, 400);  // exactly 20 away: still sought
  seeker.update();
  EXPECT_TRUE(seeker.hasTarget);
  seeker.position = {410, 400};
  seeker.update();
  EXPECT_FALSE(seeker.hasTarget);

  // Full speed from a steer of 64, none below a tenth.
  const float lengths[] = {200, 3, 1.5f};
  const float speeds[] = {4, 0.1875f, 0};
  for (int i = 0; i < 3; ++i) {
    SteeredPeep p(g, 400, 400, Vec2{0, lengths[i]});  // along the start heading
    p.update();
    EXPECT_FLOAT_EQ(p.speed, speeds[i]) << lengths[i];
    EXPECT_NEAR(p.position.y, 400 + speeds[i], 1e-4) << lengths[i];
  }
  // Too short to move, long enough to turn.
  SteeredPeep turner(g, 400, 400, Vec2{1.5f, 0});
  turner.update();
  EXPECT_LT(turner.heading, 1.5707964f);

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

TEST_F(PeepTest, SeparationAndFlocking) {
  Peep a(g, 400, 400, Peep::kRested);
  Peep b(g, 400, 400, Peep::kRested);
  EXPECT_EQ(a.separation(b), (Vec2{0, 0}));  // same point: no push
  b.position = {404, 403};
  EXPECT_EQ(a.separation(b), (Vec2{0.4f, 0.3f}));
  b.position = {410, 400};
  EXPECT_EQ(a.separation(b), (Vec2{0, 0}));

  // Alignment: a peep ahead of another lends it its heading, nearer ones
  // weighing more; one behind or of another state lends nothing.
  Peep leader(g, 300, 300, Peep::kRested);
  Peep follower(g, 280, 300, Peep::kRested);
  leader.heading = 0.0f;
  follower.heading = 1.0f;
  const Vec2 term = leader.alignment(follower);
  EXPECT_FLOAT_EQ(term.x, 0.6875f);
  EXPECT_NEAR(term.y, 0.0f, 1e-6);
  EXPECT_EQ(follower.alignment(leader), (Vec2{0, 0}));
  // The follower steers along the leader's heading, ten times the term.
  const Vec2 steer = follower.steering();
  EXPECT_NEAR(steer.x, 6.875f, 1e-4);
  EXPECT_NEAR(steer.y, 0.0f, 1e-4);
  follower.setState(Peep::kTired);
  EXPECT_EQ(leader.alignment(follower), (Vec2{0, 0}));
}

}  // namespace
