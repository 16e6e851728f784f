#include <gtest/gtest.h>

#include "agents/Peep.h"
#include "support/HeadlessGame.h"
#include "world/GuardTower.h"

namespace {

TEST(GuardTower, SixImpassablePostsOnTheRimNearestFirst) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  GuardTower t(g, 100, 100, 12);
  const Vec2 expected[6] = {{112, 100}, {106, 110.392f}, {94, 110.392f},
                            {88, 100},  {94, 89.608f},   {106, 89.608f}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_NEAR(t.posts[i].position().x, expected[i].x, 1e-3f) << i;
    EXPECT_NEAR(t.posts[i].position().y, expected[i].y, 1e-3f) << i;
    EXPECT_NEAR(length(t.posts[i].direction()), 1.0f, 1e-6f);
    EXPECT_FALSE(t.posts[i].isPassable());
    EXPECT_EQ(t.posts[i].kind(), Anchor::kPostKind);
    EXPECT_EQ(t.posts[i].width(), 4.0f);
    EXPECT_EQ(t.posts[i].color().r, 0.100000024f);
  }

  // 11.9 from post 3 and at least 12 from the others.
  EXPECT_EQ(t.slotAt(76.1f, 100), &t.posts[3]);
  EXPECT_EQ(t.slotAt(75, 100), nullptr);  // 13 from post 3
  // Within reach of posts 0 and 1: the lower index wins.
  EXPECT_EQ(t.slotAt(112, 108), &t.posts[0]);
  EXPECT_EQ(g.anchorAt(112, 108, nullptr), &t.posts[0]);

  EXPECT_TRUE(t.containsPoint(111.9f, 100));
  EXPECT_FALSE(t.containsPoint(112, 100));
}

TEST(GuardTower, MovesItsPostsAlongAndPushesAgentsOut) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  GuardTower t(g, 100, 100, 12);
  Vec2 before[6], dirs[6];
  for (int i = 0; i < 6; ++i) {
    before[i] = t.posts[i].position();
    dirs[i] = t.posts[i].direction();
  }
  t.moveBy(5, 0);
  EXPECT_EQ(t.centre, (Vec2{105, 100}));
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(t.posts[i].position(), (Vec2{before[i].x + 5, before[i].y}));
    EXPECT_EQ(t.posts[i].direction(), dirs[i]);
  }
  EXPECT_EQ(t.slotAt(117, 100), &t.posts[0]);

  Peep p(g, 108, 100, Peep::kRested);  // 3 of 12 from the centre
  EXPECT_NEAR(t.separation(p).x, 3.75f, 1e-5f);

  WorldObject* copy = t.clone();
  GuardTower* twin = dynamic_cast<GuardTower*>(copy);
  ASSERT_NE(twin, nullptr);
  EXPECT_EQ(twin->posts[2].position(), t.posts[2].position());
  delete copy;
}

}  // namespace
