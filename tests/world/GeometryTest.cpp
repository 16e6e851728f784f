#include <gtest/gtest.h>

#include "world/Geometry.h"

namespace {

constexpr float kTol = 1e-5f;

void expectNear(Vec2 actual, float x, float y) {
  EXPECT_NEAR(actual.x, x, kTol);
  EXPECT_NEAR(actual.y, y, kTol);
}

TEST(Geometry, LengthsAndClamping) {
  // hypot does not overflow where a naive square root of squares would.
  EXPECT_FLOAT_EQ(length(3e30f, 4e30f), 5e30f);

  Vec2 v{30.0f, 40.0f};
  clampLength(v, 16.0f);
  expectNear(v, 9.6f, 12.8f);
  v = {0.0f, 0.0f};
  clampLength(v, 0.0f);  // no 0 / 0
  EXPECT_EQ(v, (Vec2{0.0f, 0.0f}));
}

TEST(Geometry, AnglesBetweenVectorsTakeTheShortWayAcrossTheSeam) {
  EXPECT_NEAR(angleBetween({1.0f, 0.0f}, {-1.0f, 0.0f}), kPi, kTol);
  // Just either side of the -x axis: the seam must not turn 0.02 into 2pi - 0.02.
  EXPECT_NEAR(angleBetween({-1.0f, 0.01f}, {-1.0f, -0.01f}), 0.02f, 1e-4f);
}

TEST(Geometry, RectsContainTheirEdgesKeepTheirFieldOrderAndPushOutByRule) {
  const Rect r{0.0f, 10.0f, 0.0f, 20.0f};
  EXPECT_TRUE(contains(r, 10.0f, 20.0f));
  EXPECT_FALSE(contains(r, 10.001f, 5.0f));

  EXPECT_FALSE(equals(r, 0.0f, 20.0f, 0.0f, 10.0f));  // x bounds come first
  const Rect outer{0.0f, 100.0f, 0.0f, 100.0f};
  EXPECT_EQ(displacementToContain(outer, {-5.0f, 5.0f, 20.0f, 30.0f}), (Vec2{5.0f, 0.0f}));
  EXPECT_EQ(displacementToContain(outer, {90.0f, 110.0f, 95.0f, 103.0f}), (Vec2{-10.0f, -3.0f}));
  // Wider than the outer one: both overflows count.
  EXPECT_EQ(displacementToContain(outer, {-10.0f, 120.0f, -1.0f, 5.0f}), (Vec2{-10.0f, 1.0f}));

  // Pushing out prefers bottom, top, left, right on ties.
  const Rect square{0.0f, 10.0f, 0.0f, 10.0f};
  EXPECT_EQ(pushOutToEdge(square, 5.0f, 5.0f), (Vec2{5.0f, 0.0f}));   // all four tie
  EXPECT_EQ(pushOutToEdge(square, 8.0f, 8.0f), (Vec2{8.0f, 10.0f}));  // top ties right
  EXPECT_EQ(pushOutToEdge(r, 5.0f, 10.0f), (Vec2{0.0f, 10.0f}));      // left ties right
  EXPECT_EQ(pushOutToEdge(square, 9.5f, 3.0f), (Vec2{10.0f, 3.0f}));
  EXPECT_EQ(pushOutToEdge(square, -1.0f, 5.0f), (Vec2{-1.0f, 5.0f}));  // outside
}

}  // namespace
