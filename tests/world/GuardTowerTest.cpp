#include <gtest/gtest.h>

#include "support/HeadlessGame.h"
#include "world/GuardTower.h"

namespace {

TEST(GuardTower, SixImpassablePostsOnTheRimNearestFirstMovingAlong) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  GuardTower t(g, 100, 100, 12);
  const Vec2 expected[6] = {{112, 100}, {106, 110.392f}, {94, 110.392f},
                            {88, 100},  {94, 89.608f},   {106, 89.608f}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_NEAR(t.posts[i].position().x, expected[i].x, 1e-3f) << i;
    EXPECT_NEAR(t.posts[i].position().y, expected[i].y, 1e-3f) << i;
    EXPECT_FALSE(t.posts[i].isPassable());
    EXPECT_EQ(t.posts[i].kind(), Anchor::kPostKind);
  }
  EXPECT_EQ(t.slotAt(76.1f, 100), &t.posts[3]);  // 11.9 from post 3, 12 or more from the rest
  EXPECT_EQ(t.slotAt(75, 100), nullptr);
  EXPECT_EQ(t.slotAt(112, 108), &t.posts[0]);  // within reach of posts 0 and 1
  EXPECT_EQ(g.anchorAt(112, 108, nullptr), &t.posts[0]);

  Vec2 dirs[6];
  for (int i = 0; i < 6; ++i) dirs[i] = t.posts[i].direction();
  t.moveBy(5, 0);
  EXPECT_EQ(t.centre, (Vec2{105, 100}));
  for (int i = 0; i < 6; ++i) {
    EXPECT_NEAR(t.posts[i].position().x, expected[i].x + 5, 1e-3f);
    EXPECT_EQ(t.posts[i].direction(), dirs[i]);
  }
  EXPECT_EQ(t.slotAt(117, 100), &t.posts[0]);
}

}  // namespace
