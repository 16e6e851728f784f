#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "doubles/RecordingDrawBackend.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"

namespace {

void expectNear(Vec2 actual, Vec2 expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-3f);
  EXPECT_NEAR(actual.y, expected.y, 1e-3f);
}

TEST(CircleSegments, GrowsWithRadiusAndStaysWithinBoundsForAnyFloat) {
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    float radius;
    int count;
  } table[] = {{1.9f, 4}, {20.0f, 20}, {200.0f, 128}, {0.0f, 4},    {-5.0f, 4},
               {NAN, 4},  {-inf, 4},   {inf, 128},    {3e38f, 128}, {1e10f, 128}};
  for (const auto& row : table) EXPECT_EQ(circleSegments(row.radius), row.count) << row.radius;
}

TEST(FillCircle, TinyIsAPointAndTheEdgeLoopOnlyWhenOpaque) {
  ScopedDrawRecording rec;
  setLineWidth(2.0f);
  fillCircle(10.0f, 20.0f, 1.5f);
  ASSERT_EQ(rec.shapes().size(), 1u);
  EXPECT_EQ(rec.shapes()[0].primitive, Primitive::Points);
  EXPECT_EQ(rec.shapes()[0].vertices[0].pointSize, 1.5f);
  EXPECT_EQ(rec.currentPointSize(), 2.0f);  // back to the pen's

  rec.clear();
  setAlpha(0.5f);
  fillCircle(100.0f, 50.0f, 20.0f);  // the disc alone: an edge would show as a darker rim
  setAlpha(1.0f);
  fillCircle(100.0f, 50.0f, 20.0f);
  ASSERT_EQ(rec.shapes().size(), 3u);
  const RecordedShape& disc = rec.shapes()[1];
  const RecordedShape& edge = rec.shapes()[2];
  EXPECT_EQ(edge.primitive, Primitive::LineLoop);
  ASSERT_EQ(disc.vertices.size(), 20u);
  ASSERT_EQ(edge.vertices.size(), 20u);
  expectNear(disc.point(19), {120.0f, 50.0f});  // the last vertex closes the turn at angle 0
  expectNear(edge.point(19), disc.point(19));
}

TEST(OutlineCircle, ThickPenDrawsARingInsideTheRadius) {
  ScopedDrawRecording rec;
  setLineWidth(3.0f);
  outlineCircle(0.0f, 0.0f, 10.0f);
  ASSERT_EQ(rec.shapes().size(), 1u);
  const RecordedShape& ring = rec.shapes()[0];
  EXPECT_EQ(ring.primitive, Primitive::TriangleStrip);
  ASSERT_EQ(ring.vertices.size(), 18u);       // 8 steps (the count for radius 7), 9 pairs
  expectNear(ring.point(14), {10.0f, 0.0f});  // a full turn, outer and inner
  expectNear(ring.point(15), {7.0f, 0.0f});
  expectNear(ring.point(16), ring.point(0));  // the last pair closes the band

  rec.clear();
  setLineWidth(1.0f);  // a one-pixel pen draws a plain loop
  outlineCircle(0.0f, 0.0f, 10.0f);
  EXPECT_EQ(rec.shapes()[0].primitive, Primitive::LineLoop);
}

TEST(DrawArc, ThinIsOneStripEitherWayThickIsABandWithFaintEdgesAndCaps) {
  ScopedDrawRecording rec;
  // Arc length 60 / 2pi as the radius: 9.55 -> 10 steps, 11 points.
  drawArc(5.0f, 5.0f, 60.0f, 0.5f, 1.0f);
  drawArc(5.0f, 5.0f, 60.0f, 0.5f, -1.0f);
  ASSERT_EQ(rec.shapes().size(), 2u);
  const RecordedShape& arc = rec.shapes()[0];
  EXPECT_EQ(arc.primitive, Primitive::LineStrip);
  ASSERT_EQ(arc.vertices.size(), 11u);
  expectNear(arc.point(10), {5.0f + 60.0f * std::cos(1.5f), 5.0f + 60.0f * std::sin(1.5f)});
  expectNear(rec.shapes()[1].point(10), {5.0f + 60.0f * std::cos(0.5f), 5.0f - 60.0f * std::sin(0.5f)});

  rec.clear();
  setLineWidth(4.0f);
  setAlpha(0.8f);
  drawArc(0.0f, 0.0f, 30.0f, 0.0f, kPi);

  // The band, the outer and inner edges (each with its own count), two caps.
  const auto& shapes = rec.shapes();
  ASSERT_EQ(shapes.size(), 5u);
  expectNear(shapes[0].point(1), {26.0f, 0.0f});
  EXPECT_EQ(shapes[2].vertices.size(), static_cast<size_t>(circleSegments(13.0f) + 1));
  for (size_t i = 1; i < 5; ++i) {
    EXPECT_NEAR(shapes[i].vertices[0].color.a, 0.2f, 1e-6f);
    EXPECT_EQ(shapes[i].vertices[0].lineWidth, 1.0f);
  }
  expectNear(shapes[4].point(0), {-30.0f, 0.0f});  // the cap at the end angle

  EXPECT_EQ(pen().width, 4.0f);  // the pen is back as it was
  EXPECT_EQ(pen().alpha, 0.8f);

  // An opaque arc keeps opaque edges.
  setAlpha(1.0f);
  rec.clear();
  drawArc(0.0f, 0.0f, 30.0f, 0.0f, kPi);
  EXPECT_EQ(rec.shapes()[1].vertices[0].color.a, 1.0f);
}

}  // namespace
