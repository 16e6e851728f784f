#include <gtest/gtest.h>

#include "agents/Peep.h"
#include "agents/Road.h"
#include "draw/RecordingDrawBackend.h"
#include "support/HeadlessGame.h"
#include "world/GuardTower.h"

namespace {

// A road end with whatever values a test needs (a door is kind 0, passable).
class TestAnchor : public Anchor {
 public:
  TestAnchor(Vec2 p, Vec2 d, Color3 c = {0.8f, 0.8f, 0.8f}, float w = 10.0f, bool pass = true,
             int k = kDoorKind)
      : p_(p), d_(d), c_(c), w_(w), pass_(pass), k_(k) {}
  Color3 color() const override { return c_; }
  float width() const override { return w_; }
  Vec2 position() const override { return p_; }
  Vec2 direction() const override { return d_; }
  bool isPassable() const override { return pass_; }
  int kind() const override { return k_; }

 private:
  Vec2 p_, d_;
  Color3 c_;
  float w_;
  bool pass_;
  int k_;
};

// An object holding one anchor within 12 units of it, as a building's door.
class DoorHolder : public WorldObject {
 public:
  DoorHolder(Game& g, TestAnchor a) : WorldObject(g), door(a) {}
  Anchor* slotAt(float x, float y) override {
    return distanceTo(door.position(), x, y) < 12 ? &door : nullptr;
  }
  TestAnchor door;
};

void expectAt(Vec2 v, float x, float y, float tol = 1e-4f) {
  EXPECT_NEAR(v.x, x, tol);
  EXPECT_NEAR(v.y, y, tol);
}

TEST(Road, CurveStubsShrinkForShortRoadsAndPassThroughEveryJoint) {
  // 20 units apart: both stubs are 2.
  const TestAnchor a{{100, 100}, {1, 0}}, b{{120, 100}, {-1, 0}};
  const Road::ControlPoints near = Road::controlPoints(a, b);
  const float nearX[10] = {98, 100, 102, 103.85f, 106.4f, 113.6f, 116.15f, 118, 120, 122};
  for (int i = 0; i < 10; ++i) expectAt(near.at[i], nearX[i], 100);

  // 200 units apart: the stubs cap at 4 and 12.
  const TestAnchor c{{100, 100}, {0, 1}}, d{{100, 300}, {0, -1}};
  const Road::ControlPoints far = Road::controlPoints(c, d);
  const float farY[10] = {96, 100, 112, 127.1f, 154.4f, 245.6f, 272.9f, 288, 300, 304};
  for (int i = 0; i < 10; ++i) expectAt(far.at[i], 100, farY[i]);

  const Road::Curve curve = Road::curve(far);
  expectAt(curve.at[0], 100, 100);
  expectAt(curve.at[69], 100, 300);
  for (int w = 0; w < 7; ++w) {
    expectAt(curve.at[10 * w], 100, farY[w + 1]);      // each segment starts at its second point
    expectAt(curve.at[10 * w + 9], 100, farY[w + 2]);  // and ends at its third, emitted again next
  }
  expectAt(curve.at[3], 100, 103.29259f);  // t = 1/3 of the first segment
}

TEST(Road, DrawsOneStripInTheAverageColourAndWidth) {
  HeadlessGame h;
  clearWorld(h.game());
  TestAnchor door{{100, 100}, {1, 0}};
  GuardTower tower(h.game(), 300, 100, 12);
  Road road(h.game(), door, tower.posts[3]);
  ScopedDrawRecording rec;
  road.draw();
  ASSERT_EQ(rec.shapes().size(), 1u);
  const RecordedShape& strip = rec.shapes()[0];
  EXPECT_EQ(strip.primitive, Primitive::LineStrip);
  ASSERT_EQ(strip.vertices.size(), 70u);
  EXPECT_NEAR(strip.vertices[0].color.r, 0.45f, 1e-6f);
  EXPECT_FLOAT_EQ(strip.vertices[0].lineWidth, 7.0f);
  expectAt(strip.point(69), 288, 100);
  EXPECT_EQ(rec.currentLineWidth(), 1.0f);
}

TEST(Road, WallsPushAndSteerOffTheirLineAndDoorRoadsDoNothing) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  GuardTower left(g, 200, 300, 12), right(g, 400, 300, 12);
  Road wall(g, left.posts[0], right.posts[3]);  // (212, 300) to (388, 300)
  ASSERT_TRUE(wall.isWall());

  Peep near(g, 300, 305, Peep::kRested);
  expectAt(wall.separation(near), 0, 4);
  expectAt(wall.avoidance(near), 0, 4);
  Peep within(g, 300, 271, Peep::kRested);
  expectAt(wall.separation(within), 0, 0);
  expectAt(wall.avoidance(within), 0, -4);
  Peep beyond(g, 300, 331, Peep::kRested);
  expectAt(wall.avoidance(beyond), 0, 0);

  // Before the start the distance is to the start point (8.06), not to the
  // line (4): no separation, and the steer points away from the start.
  Peep behind(g, 205, 296, Peep::kRested);
  expectAt(wall.separation(behind), 0, 0);
  const float k = 4.0f / length(7.0f, 4.0f);
  expectAt(wall.avoidance(behind), -7 * k, -4 * k);

  // Right on the line there is no "away": the push goes across, not NaN.
  Peep on(g, 300, 300, Peep::kRested);
  const Vec2 across = wall.separation(on);
  EXPECT_NEAR(length(across), 4.0f, 1e-5f);
  EXPECT_NEAR(across.x, 0.0f, 1e-5f);

  TestAnchor door{{300, 200}, {0, 1}};
  Road link(g, left.posts[0], door);
  Peep byLink(g, 256, 250, Peep::kRested);
  expectAt(link.separation(byLink), 0, 0);
  expectAt(link.avoidance(byLink), 0, 0);

  wall.update();
  EXPECT_TRUE(equals(wall.extent, 212, 388, 300, 300));
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

TEST(Road, LayingFromADoorToAPostPreviewsAFreeEndAndLinksOnRelease) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  DoorHolder* building = new DoorHolder(g, TestAnchor{{200, 200}, {0, 1}});
  GuardTower* tower = new GuardTower(g, 400, 400, 12);

  h.app().setMouseWorld(203, 201);
  h.app().pressButton();
  EXPECT_EQ(g.mode, 4);

  // Over the post, which is of another kind: the preview ends at the mouse.
  h.app().setMouseWorld(412, 401);
  auto strips = roadStrips(g);
  ASSERT_EQ(strips.size(), 1u);
  expectAt(strips[0].point(0), 200, 200);
  expectAt(strips[0].point(69), 412, 401);

  h.app().releaseButton();
  EXPECT_EQ(g.mode, 0);
  ASSERT_EQ(countOf<Road>(g), 1);
  Road* road = dynamic_cast<Road*>(g.worldHead);
  ASSERT_NE(road, nullptr);
  EXPECT_EQ(road->anchorA, &building->door);
  EXPECT_EQ(road->anchorB, &tower->posts[0]);
  EXPECT_EQ(roadStrips(g).size(), 1u);  // the laid road; no preview any more

  // A release over open ground lays nothing.
  h.app().setMouseWorld(203, 201);
  h.app().pressButton();
  h.app().setMouseWorld(300, 300);
  h.app().releaseButton();
  EXPECT_EQ(countOf<Road>(g), 1);
}

}  // namespace
