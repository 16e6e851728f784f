#include "agents/Peep.h"
#include "game/FreshGame.h"
#include "world/Fountain.h"
#include "world/GroundMarker.h"
#include "world/GuardTower.h"

namespace {

using DiscObjectsTest = EmptyWorld;

void expectAt(Vec2 v, float x, float y) {
  EXPECT_NEAR(v.x, x, 1e-3f);
  EXPECT_NEAR(v.y, y, 1e-3f);
}

TEST_F(DiscObjectsTest, FountainPushesOutAndSteersOnlyAgentsHeadingAtItAMarkerPullsThemIn) {
  Fountain f(g, 400, 400, 24);
  Peep p(g, 406, 400, Peep::kRested);
  expectAt(f.separation(p), 3.75f, 0);
  p.position = {400, 424};
  expectAt(f.separation(p), 0, 0);
  p.position = {400, 400};
  const Vec2 centre = f.separation(p);
  EXPECT_NEAR(length(centre), 5.0f, 1e-5f);
  EXPECT_FALSE(centre == f.separation(p));  // a fresh random direction each time
  expectAt(f.avoidance(p), 0, 0);           // no direction to steer in, and no NaN

  // Heading straight at it from 60 away: steered off, away from the centre.
  p.position = {460, 400};
  p.heading = kPi;
  p.speed = 0;
  EXPECT_GT(f.avoidance(p).x, 0.0f);
  // Heading away (120 degrees or more off) is never steered, near or far.
  for (float heading : {0.0f, 1.0f, -1.0f}) {
    p.heading = heading;
    for (float x : {420.0f, 460.0f}) {
      p.position = {x, 400};
      expectAt(f.avoidance(p), 0, 0);
    }
  }

  // The ground marker pulls within twice its radius and is hit only in its middle.
  GroundMarker m(g, 400, 400, 32);
  p.position = {440, 400};
  expectAt(m.avoidance(p), -15, 0);
  p.position = {470, 400};
  expectAt(m.avoidance(p), 0, 0);
  EXPECT_TRUE(m.containsPoint(407, 400));
  EXPECT_FALSE(m.containsPoint(410, 400));
}

TEST_F(DiscObjectsTest, GuardTowerPostsOnTheRimNearestFirstMovingAlong) {
  // Post 0 sits at (112, 100), post 1 a sixth of a turn on toward +y.
  GuardTower t(g, 100, 100, 12);
  EXPECT_EQ(t.slotAt(106, 112), &t.posts[1]);
  EXPECT_EQ(t.slotAt(76.1f, 100), &t.posts[3]);  // 11.9 from post 3, 12 or more from the rest
  EXPECT_EQ(t.slotAt(75, 100), nullptr);
  EXPECT_EQ(t.slotAt(112, 108), &t.posts[0]);  // within reach of posts 0 and 1
  EXPECT_EQ(g.anchorAt(112, 108, nullptr), &t.posts[0]);

  t.moveBy(5, 0);
  EXPECT_EQ(t.centre, (Vec2{105, 100}));
  EXPECT_EQ(t.slotAt(128, 100), &t.posts[0]);  // out of reach before the move
}

}  // namespace
