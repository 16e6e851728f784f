#include <gtest/gtest.h>

#include <cmath>

#include "agents/EmptyCity.h"
#include "agents/FreeAnchor.h"
#include "agents/Peep.h"
#include "agents/Road.h"
#include "buildings/Building.h"
#include "doubles/RecordingDrawBackend.h"
#include "world/GuardTower.h"

namespace {

using RoadTest = EmptyCity;

// A door-like end (kind 0, passable, width 10) at p facing d.
FreeAnchor door(Vec2 p, Vec2 d) {
  FreeAnchor a;
  a.at = p;
  a.heading = d;
  a.lineWidth = 10;
  return a;
}

void expectAt(Vec2 v, float x, float y) {
  EXPECT_NEAR(v.x, x, 1e-4f);
  EXPECT_NEAR(v.y, y, 1e-4f);
}

TEST_F(RoadTest, CurveStubsShrinkForShortRoadsAndTheStripAveragesItsEnds) {
  // Stubs are a tenth of the span, capped at 4 behind and 12 ahead.
  const Road::ControlPoints near = Road::controlPoints(door({100, 100}, {1, 0}), door({120, 100}, {-1, 0}));
  expectAt(near.at[0], 98, 100);
  expectAt(near.at[2], 102, 100);
  const Road::ControlPoints far = Road::controlPoints(door({100, 100}, {0, 1}), door({100, 300}, {0, -1}));
  expectAt(far.at[0], 100, 96);
  expectAt(far.at[2], 100, 112);
  // The curve runs from door to door.
  const Road::Curve curve = Road::curve(far);
  expectAt(curve.at[0], 100, 100);
  expectAt(curve.at[Road::kCurveVertices - 1], 100, 300);

  FreeAnchor start = door({100, 100}, {1, 0});
  GuardTower tower(g, 300, 100, 12);
  Road road(g, start, tower.posts[3]);
  ScopedDrawRecording rec;
  road.draw();
  ASSERT_EQ(rec.shapes().size(), 1u);
  const RecordedShape& strip = rec.shapes()[0];
  ASSERT_EQ(strip.vertices.size(), 70u);
  EXPECT_NEAR(strip.vertices[0].color.r, 0.05f, 1e-6f);  // half of black and the posts' 0.1
  EXPECT_FLOAT_EQ(strip.vertices[0].lineWidth, 7.0f);
  EXPECT_EQ(rec.currentLineWidth(), 1.0f);
}

TEST_F(RoadTest, WallsPushAndSteerOffTheirLineAndDoorRoadsDoNothing) {
  GuardTower left(g, 200, 300, 12), right(g, 400, 300, 12);
  Road wall(g, left.posts[0], right.posts[3]);  // (212, 300) to (388, 300)
  Peep p(g, 205, 296, Peep::kRested);
  // Before the start the distance is to the start point (8.06), not to the
  // line (4): no separation, and the steer points away from the start.
  expectAt(wall.separation(p), 0, 0);
  const float k = 4.0f / length(7.0f, 4.0f);
  expectAt(wall.avoidance(p), -7 * k, -4 * k);

  // Right on the line there is no "away": the push goes across, not NaN.
  p.position = {300, 300};
  EXPECT_NEAR(std::fabs(wall.separation(p).y), 4.0f, 1e-5f);

  FreeAnchor entrance = door({300, 200}, {0, 1});
  Road link(g, left.posts[0], entrance);
  p.position = {256, 250};
  expectAt(link.separation(p), 0, 0);
  expectAt(link.avoidance(p), 0, 0);
}

// The road curves (70-vertex strips) of one frame.
std::vector<RecordedShape> roadStrips(Game& g) {
  ScopedDrawRecording rec;
  g.onDraw();
  std::vector<RecordedShape> out;
  for (const RecordedShape* s : rec.shapesOf(Primitive::LineStrip)) {
    if (s->vertices.size() == 70u) out.push_back(*s);
  }
  return out;
}

TEST_F(RoadTest, LayingFromADoorToAPostPreviewsAFreeEndAndLinksOnRelease) {
  auto* building = new Building(g, Rect{100, 200, 50, 150}, 1);  // bottom door at (150, 150)
  auto* tower = new GuardTower(g, 400, 400, 12);
  h.app().setMouseWorld(150, 155);
  h.app().pressButton();

  // Over the post, which is of another kind: the preview ends at the mouse.
  h.app().setMouseWorld(412, 401);
  auto strips = roadStrips(g);
  ASSERT_EQ(strips.size(), 1u);
  expectAt(strips[0].point(0), 150, 150);
  expectAt(strips[0].point(69), 412, 401);

  h.app().releaseButton();
  auto* road = dynamic_cast<Road*>(g.worldHead);
  ASSERT_NE(road, nullptr);
  EXPECT_EQ(road->anchorA, &building->doors[1]);
  EXPECT_EQ(road->anchorB, &tower->posts[0]);
  EXPECT_EQ(roadStrips(g).size(), 1u);  // the laid road; no preview any more

  h.app().setMouseWorld(150, 155);  // a release over open ground lays nothing
  h.app().pressButton();
  h.app().setMouseWorld(300, 300);
  h.app().releaseButton();
  EXPECT_EQ(countOf<Road>(g), 1);
}

}  // namespace
