#include <gtest/gtest.h>

#include <cmath>

#include "agents/Peep.h"
#include "draw/RecordingDrawBackend.h"
#include "support/HeadlessGame.h"
#include "tuning/Tuning.h"
#include "world/Zone.h"

namespace {

// A peep whose steering the test chooses.
class SteeredPeep : public Peep {
 public:
  SteeredPeep(Game& g, float x, float y, Vec2 s) : Peep(g, x, y, kRested), wish(s) {}
  Vec2 steering() override { return wish; }
  Vec2 wish;
};

// A world with nothing but an open zone.
void openZoneOnly(Game& g) {
  clearWorld(g);
  g.zone = new Zone(g, Rect{150, 650, 150, 650});
  g.zone->shownRect = g.zone->targetRect;
}

TEST(Peep, HitsAngerAndTheWalkOut) {
  HeadlessGame h;
  Game& g = h.game();
  openZoneOnly(g);
  Peep p(g, 400, 400, Peep::kRested);
  for (int i = 1; i <= 10; ++i) {
    const bool full = p.takeHit();
    EXPECT_EQ(full, i == 10) << i;
  }
  EXPECT_EQ(p.anger, 1.0f);
  EXPECT_EQ(p.state, Peep::kTired);
  EXPECT_EQ(p.bodyColor.r, Peep::StateColors[1].r);
  EXPECT_TRUE(p.takeHit());

  // Full anger inside the play area (its edge included) keeps the peep.
  Peep edge(g, 650, 400, Peep::kTired);
  edge.anger = 0.999f;
  edge.update();
  EXPECT_EQ(edge.anger, 1.0f);
  EXPECT_FALSE(edge.destroyRequested);
  // Outside, it is removed in the same tick.
  Peep gone(g, 720, 400, Peep::kTired);
  gone.anger = 0.999f;
  gone.update();
  EXPECT_TRUE(gone.destroyRequested);
  // A rested peep outside is never removed by its own code.
  Peep rested(g, 720, 400, Peep::kRested);
  rested.anger = 1.0f;
  rested.update();
  EXPECT_FALSE(rested.destroyRequested);
}

TEST(Peep, CloneStartsFreshAndCountsAsAnAgent) {
  HeadlessGame h;
  Game& g = h.game();
  openZoneOnly(g);
  EXPECT_EQ(g.agentCount, 0);
  Peep original(g, 300, 310, Peep::kTired);
  original.setTarget(500, 500);
  original.anger = 0.5f;
  original.heading = 2.0f;
  original.setSelected(true);
  EXPECT_EQ(g.agentCount, 1);
  WorldObject* copy = original.clone();
  auto* twin = dynamic_cast<Peep*>(copy);
  ASSERT_NE(twin, nullptr);
  EXPECT_EQ(g.agentCount, 2);
  EXPECT_EQ(twin->position, original.position);
  EXPECT_EQ(twin->state, Peep::kTired);
  EXPECT_FALSE(twin->hasTarget);
  EXPECT_EQ(twin->anger, 0.0f);
  EXPECT_EQ(twin->heading, 1.5707964f);
  EXPECT_FALSE(twin->isSelected());
  EXPECT_EQ(g.worldHead, copy);
  delete copy;
  EXPECT_EQ(g.agentCount, 1);
}

TEST(PeepMovement, ArrivalAndSpeedFromSteering) {
  HeadlessGame h;
  Game& g = h.game();
  openZoneOnly(g);
  {
    Peep p(g, 400, 400, Peep::kRested);
    p.setTarget(420, 400);  // exactly 20 away: still sought
    p.update();
    EXPECT_TRUE(p.hasTarget);
    p.position = {410, 400};
    p.update();
    EXPECT_FALSE(p.hasTarget);
  }
  struct Case {
    float length;
    float speed;
  } cases[] = {{64, 4}, {200, 4}, {3, 0.1875f}, {1.5f, 0}};
  for (const Case& c : cases) {
    SteeredPeep p(g, 400, 400, Vec2{0, c.length});  // along the start heading
    p.update();
    EXPECT_FLOAT_EQ(p.speed, c.speed) << c.length;
    EXPECT_NEAR(p.position.y, 400 + c.speed, 1e-4) << c.length;
  }
  // Too short to move, long enough to turn.
  SteeredPeep turner(g, 400, 400, Vec2{1.5f, 0});
  turner.update();
  EXPECT_EQ(turner.speed, 0.0f);
  EXPECT_LT(turner.heading, 1.5707964f);
}

TEST(PeepMovement, TurnsCorrectlyWithAnUnwrappedHeading) {
  HeadlessGame h;
  Game& g = h.game();
  openZoneOnly(g);
  // Facing +x after many turns (heading 4 pi), steered toward +y: a right
  // turn of a quarter circle, not three quarters the other way.
  SteeredPeep p(g, 400, 400, Vec2{0, 64});
  p.heading = 4.0f * kPi;
  p.update();
  EXPECT_GT(p.heading, 4.0f * kPi);
  EXPECT_NEAR(p.position.x, 404.0f, 1e-3);  // walked the old heading

  // Steered straight behind: a turn of pi, so no step forward, but the
  // turn still happens.
  SteeredPeep q(g, 500, 300, Vec2{-64, 0});
  q.heading = 0.0f;
  q.update();
  EXPECT_EQ(q.position, (Vec2{500, 300}));
  EXPECT_NE(q.heading, 0.0f);
}

TEST(PeepMovement, SeparationAndFlocking) {
  HeadlessGame h;
  Game& g = h.game();
  openZoneOnly(g);
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
  follower.heading = 0.0f;
  const Vec2 term = leader.alignment(follower);
  EXPECT_FLOAT_EQ(term.x, 0.6875f);
  EXPECT_NEAR(term.y, 0.0f, 1e-6);
  EXPECT_EQ(follower.alignment(leader), (Vec2{0, 0}));
  follower.setState(Peep::kTired);
  EXPECT_EQ(leader.alignment(follower), (Vec2{0, 0}));
}

TEST(PeepMovement, SameStateNeighboursFlockTogether) {
  HeadlessGame h(7);
  Game& g = h.game();
  openZoneOnly(g);
  const float headings[] = {0.3f, 1.1f, -0.4f, 0.9f, 0.0f, 1.4f};
  for (int i = 0; i < 6; ++i) {
    auto* p = new Peep(g, 380.0f + 12.0f * (i % 3), 390.0f + 14.0f * (i / 3), Peep::kRested);
    p->heading = headings[i];
  }
  auto spread = [&g] {
    float sx = 0, sy = 0;
    int n = 0;
    for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
      if (auto* p = dynamic_cast<Peep*>(o)) {
        sx += std::cos(p->heading);
        sy += std::sin(p->heading);
        ++n;
      }
    }
    return 1.0f - std::hypot(sx, sy) / n;  // 0 when all face one way
  };
  const float before = spread();
  h.tick(60);
  EXPECT_LT(spread(), before * 0.5f);
}

}  // namespace
