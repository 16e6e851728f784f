#include <gtest/gtest.h>

#include "world/Geometry.h"
#include "world/Random.h"

namespace {

constexpr float kTol = 1e-5f;

void expectNear(Vec2 actual, float x, float y, float tol = kTol) {
  EXPECT_NEAR(actual.x, x, tol);
  EXPECT_NEAR(actual.y, y, tol);
}

TEST(Geometry, LengthsPolarFormAndClamping) {
  EXPECT_FLOAT_EQ(length(3.0f, 4.0f), 5.0f);
  EXPECT_FLOAT_EQ(distanceTo({1.0f, 1.0f}, 4.0f, 5.0f), 5.0f);
  // hypot does not overflow where a naive square root of squares would.
  EXPECT_FLOAT_EQ(length(3e30f, 4e30f), 5e30f);

  Vec2 v;
  setPolar(v, 0.0f, -2.0f);
  expectNear(v, -2.0f, 0.0f);
  setPolar(v, kPi / 2.0f, 3.0f);
  expectNear(v, 0.0f, 3.0f);
  setPolarAround(v, 10.0f, 20.0f, kPi, 5.0f);
  expectNear(v, 5.0f, 20.0f);

  v = {3.0f, 4.0f};
  rotateBy(v, kPi / 2.0f);
  expectNear(v, -4.0f, 3.0f);
  v = {0.0f, 0.0f};
  rotateBy(v, 1.0f);
  EXPECT_EQ(v, (Vec2{0.0f, 0.0f}));

  v = {30.0f, 40.0f};
  clampLength(v, 16.0f);
  expectNear(v, 9.6f, 12.8f);
  v = {3.0f, 4.0f};
  clampLength(v, 16.0f);
  EXPECT_EQ(v, (Vec2{3.0f, 4.0f}));
  v = {0.0f, 0.0f};
  clampLength(v, 0.0f);
  EXPECT_EQ(v, (Vec2{0.0f, 0.0f}));
}

TEST(Geometry, AnglesTakeTheShortWayAcrossTheSeam) {
  EXPECT_NEAR(angleDelta(3.0f, -3.0f), 2.0f * kPi - 6.0f, kTol);
  EXPECT_NEAR(angleDelta(-3.0f, 3.0f), 6.0f - 2.0f * kPi, kTol);
  EXPECT_NEAR(angleDelta(0.5f, 1.5f), 1.0f, kTol);
  // Headings on [0, 2pi) wrap too.
  EXPECT_NEAR(angleDelta(6.0f, 0.2f), 0.2f + 2.0f * kPi - 6.0f, kTol);

  EXPECT_NEAR(angleBetween({1.0f, 0.0f}, {0.0f, 1.0f}), kPi / 2.0f, kTol);
  EXPECT_NEAR(angleBetween({0.0f, -1.0f}, {1.0f, 0.0f}), kPi / 2.0f, kTol);
  EXPECT_NEAR(angleBetween({1.0f, 0.0f}, {-1.0f, 0.0f}), kPi, kTol);
  // Just either side of the -x axis: the seam must not turn 0.02 into 2pi - 0.02.
  EXPECT_NEAR(angleBetween({-1.0f, 0.01f}, {-1.0f, -0.01f}), 0.02f, 1e-4f);
}

TEST(Geometry, SegmentsAndLines) {
  const Vec2 a{0.0f, 0.0f};
  const Vec2 b{10.0f, 0.0f};
  EXPECT_NEAR(distanceToSegment({5.0f, 3.0f}, a, b), 3.0f, kTol);
  EXPECT_NEAR(distanceToSegment({-3.0f, 4.0f}, a, b), 5.0f, kTol);
  EXPECT_NEAR(distanceToSegment({13.0f, -4.0f}, a, b), 5.0f, kTol);
  EXPECT_NEAR(distanceToSegment({0.0f, 7.0f}, a, b), 7.0f, kTol);  // right angle at a

  Vec2 p{3.0f, 4.0f};
  float perpendicular = -1.0f;
  EXPECT_NEAR(projectOntoLine(p, {1.0f, 1.0f}, 0.0f, &perpendicular), 2.0f, kTol);
  EXPECT_NEAR(perpendicular, 3.0f, kTol);
  expectNear(p, 3.0f, 1.0f);
  // Behind the origin along a vertical line: negative position, no out value.
  p = {-2.0f, -5.0f};
  EXPECT_NEAR(projectOntoLine(p, {0.0f, 0.0f}, kPi / 2.0f), -5.0f, kTol);
  expectNear(p, 0.0f, -5.0f);

  p = {5.0f, 5.0f};
  EXPECT_NEAR(nearestOnSegment(p, a, b), 5.0f, kTol);
  expectNear(p, 5.0f, 0.0f);
  p = {-3.0f, 4.0f};
  EXPECT_NEAR(nearestOnSegment(p, a, b), 5.0f, kTol);
  EXPECT_EQ(p, a);
  p = {13.0f, 4.0f};
  EXPECT_NEAR(nearestOnSegment(p, a, b), 5.0f, kTol);
  EXPECT_EQ(p, b);
}

TEST(Geometry, RectTestsAndClamps) {
  const Rect r{0.0f, 10.0f, 0.0f, 20.0f};
  const RectCorners c = corners(r);
  EXPECT_EQ(c.at[0], (Vec2{0.0f, 0.0f}));
  EXPECT_EQ(c.at[1], (Vec2{10.0f, 0.0f}));
  EXPECT_EQ(c.at[2], (Vec2{10.0f, 20.0f}));
  EXPECT_EQ(c.at[3], (Vec2{0.0f, 20.0f}));

  EXPECT_TRUE(contains(r, 0.0f, 7.0f));
  EXPECT_TRUE(contains(r, 10.0f, 20.0f));
  EXPECT_FALSE(contains(r, 10.001f, 5.0f));
  EXPECT_FALSE(contains(r, 5.0f, -0.001f));

  EXPECT_EQ(clampPoint(r, -5.0f, 25.0f), (Vec2{0.0f, 20.0f}));
  EXPECT_EQ(clampPoint(r, 4.0f, 6.0f), (Vec2{4.0f, 6.0f}));

  EXPECT_TRUE(equals(offsetBy(r, {1.0f, -2.0f}), 1.0f, 11.0f, -2.0f, 18.0f));
  EXPECT_FALSE(equals(r, 0.0f, 20.0f, 0.0f, 10.0f));  // x bounds come first
  Rect grown = r;
  include(grown, -3.0f, 30.0f);
  include(grown, 5.0f, 5.0f);
  EXPECT_TRUE(equals(grown, -3.0f, 10.0f, 0.0f, 30.0f));
}

TEST(Geometry, PushOutPrefersBottomTopLeftRightOnTies) {
  const Rect square{0.0f, 10.0f, 0.0f, 10.0f};
  EXPECT_EQ(pushOutToEdge(square, 5.0f, 5.0f), (Vec2{5.0f, 0.0f}));  // all four tie
  EXPECT_EQ(pushOutToEdge(square, 1.0f, 5.0f), (Vec2{0.0f, 5.0f}));
  EXPECT_EQ(pushOutToEdge(square, 8.0f, 8.0f), (Vec2{8.0f, 10.0f}));  // top ties right
  EXPECT_EQ(pushOutToEdge(square, 9.5f, 3.0f), (Vec2{10.0f, 3.0f}));
  EXPECT_EQ(pushOutToEdge(Rect{0.0f, 10.0f, 0.0f, 20.0f}, 5.0f, 10.0f),
            (Vec2{0.0f, 10.0f}));                                      // left ties right
  EXPECT_EQ(pushOutToEdge(square, 0.0f, 4.0f), (Vec2{0.0f, 4.0f}));    // on an edge
  EXPECT_EQ(pushOutToEdge(square, -1.0f, 5.0f), (Vec2{-1.0f, 5.0f}));  // outside
  EXPECT_EQ(pushOutToEdge(square, 5.0f, 11.0f), (Vec2{5.0f, 11.0f}));
}

TEST(Geometry, DisplacementToContain) {
  const Rect outer{0.0f, 100.0f, 0.0f, 100.0f};
  EXPECT_EQ(displacementToContain(outer, {-5.0f, 5.0f, 20.0f, 30.0f}), (Vec2{5.0f, 0.0f}));
  EXPECT_EQ(displacementToContain(outer, {-5.0f, 105.0f, 0.0f, 10.0f}), (Vec2{0.0f, 0.0f}));
  EXPECT_EQ(displacementToContain(outer, {90.0f, 110.0f, 95.0f, 103.0f}), (Vec2{-10.0f, -3.0f}));
  EXPECT_EQ(displacementToContain(outer, {-10.0f, 120.0f, -1.0f, 5.0f}), (Vec2{-10.0f, 1.0f}));
  EXPECT_EQ(displacementToContain(outer, {10.0f, 20.0f, 10.0f, 20.0f}), (Vec2{0.0f, 0.0f}));
}

TEST(Geometry, RandomPointTakesYFromTheFirstDraw) {
  seedRandom(12345u);
  RandomGenerator replay = processRandom();
  const float first = static_cast<float>(replay.next()) * kRandomScale;
  const float second = static_cast<float>(replay.next()) * kRandomScale;
  const Rect r{100.0f, 300.0f, -50.0f, 50.0f};
  const Vec2 p = randomPoint(r);
  EXPECT_EQ(p.x, 100.0f + 200.0f * second);
  EXPECT_EQ(p.y, -50.0f + 100.0f * first);
  EXPECT_EQ(processRandom().state(), replay.state());  // exactly two draws

  // Both ends of the scale are reachable, so the point stays within the edges.
  EXPECT_EQ(32767.0f * kRandomScale, 1.0f);
  for (int i = 0; i < 1000; ++i) {
    const Vec2 q = randomPoint(r);
    ASSERT_TRUE(contains(r, q.x, q.y)) << q.x << "," << q.y;
  }
}

}  // namespace
