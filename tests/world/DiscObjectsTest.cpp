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

TEST_F(DiscObjectsTest, AFountainsCentreHasNoWayOutAMarkerPullsAgentsIn) {
  Fountain f(g, 400, 400, 24);
  Peep p(g, 400, 400, Peep::kRested);
  const Vec2 centre = f.separation(p);
  EXPECT_NEAR(length(centre), 5.0f, 1e-5f);
  EXPECT_FALSE(centre == f.separation(p));  // a fresh random direction each time
  expectAt(f.avoidance(p), 0, 0);           // no direction to steer in, and no NaN

  // The ground marker pulls within twice its radius and is hit only in its middle.
  GroundMarker m(g, 400, 400, 32);
  p.position = {440, 400};
  expectAt(m.avoidance(p), -15, 0);
  p.position = {470, 400};
  expectAt(m.avoidance(p), 0, 0);
  EXPECT_TRUE(m.containsPoint(407, 400));
  EXPECT_FALSE(m.containsPoint(410, 400));
}

TEST_F(DiscObjectsTest, GuardTowerPostsOnTheRimReachTwelve) {
  // Post 0 sits at (112, 100), post 1 a sixth of a turn on toward +y.
  GuardTower t(g, 100, 100, 12);
  EXPECT_EQ(t.slotAt(106, 112), &t.posts[1]);
  EXPECT_EQ(t.slotAt(76.1f, 100), &t.posts[3]);  // 11.9 from post 3, 12 or more from the rest
  EXPECT_EQ(t.slotAt(75, 100), nullptr);
  EXPECT_EQ(t.slotAt(112, 108), &t.posts[0]);  // within reach of posts 0 and 1
  EXPECT_EQ(g.anchorAt(112, 108, nullptr), &t.posts[0]);
}

}  // namespace
