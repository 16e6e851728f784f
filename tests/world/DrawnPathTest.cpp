#include "agents/Peep.h"
#include "game/FreshGame.h"
#include "world/DrawnPath.h"

namespace {

using DrawnPathTest = EmptyWorld;

TEST_F(DrawnPathTest, RecordsTheTrailSpacedAndCappedAndGivesTiesToTheEarlierSegment) {
  g.drawRoads = true;
  h.app().setMouseWorld(200, 300);
  h.app().pressButton();
  EXPECT_EQ(g.mode, 2);
  DrawnPath* path = dynamic_cast<DrawnPath*>(g.held);
  ASSERT_NE(path, nullptr);
  h.app().releaseButton();
  EXPECT_EQ(path->pointCount(), 1);
  Vec2 point, direction;
  float distance = -1;
  EXPECT_FALSE(path->nearestPathPoint(200, 300, point, distance, direction));

  // Ticks every 4 units along a 100-unit drag keep every other one.
  DrawnPath drag(g);
  for (int x = 0; x <= 100; x += 4) drag.onDrop(static_cast<float>(x), 0);
  ASSERT_EQ(drag.pointCount(), 13);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(drag.point(i), (Vec2{8.0f * i, 0}));

  DrawnPath full(g);
  for (int i = 0; i < 300; ++i) full.addPoint(10.0f * i, 0, 6);
  EXPECT_EQ(full.pointCount(), 256);
  EXPECT_EQ(full.point(255), (Vec2{2550, 0}));

  // Off the corner of a bend both segments are nearest: the earlier keeps it.
  DrawnPath bend(g);
  for (Vec2 p : {Vec2{0, 0}, Vec2{10, 0}, Vec2{10, 10}}) bend.addPoint(p.x, p.y, 6);
  ASSERT_TRUE(bend.nearestPathPoint(13, -3, point, distance, direction));
  EXPECT_EQ(direction, (Vec2{10, 0}));
}

// The nearest point as a plain scan of every segment finds it.
struct Nearest {
  Vec2 point, direction;
  float distance = 0;
};
Nearest scanAll(const DrawnPath& path, Vec2 q) {
  Nearest best;
  for (int s = 0; s + 1 < path.pointCount(); ++s) {
    Vec2 p = q;
    const float d = nearestOnSegment(p, path.point(s), path.point(s + 1));
    if (s == 0 || d < best.distance) best = {p, path.point(s + 1) - path.point(s), d};
  }
  return best;
}

TEST_F(DrawnPathTest, SkippingFarSegmentsChangesNoAnswer) {
  seedRandom(5);
  DrawnPath path(g);
  // A wandering trail that folds back on itself across the field.
  Vec2 at{400, 400};
  float angle = 0;
  while (path.pointCount() < DrawnPath::kMaxPoints) {
    angle += (static_cast<float>(nextRandom()) * kRandomScale - 0.5f) * 1.5f;
    setPolarAround(at, at.x, at.y, angle, 7 + static_cast<float>(nextRandom() % 20));
    path.addPoint(at.x, at.y, 6);
  }
  Peep agent(g, 0, 0, Peep::kRested);
  agent.speed = 2;
  for (int i = 0; i < 3000; ++i) {
    const Vec2 q = randomPoint(Rect{-200, 1000, -200, 1000});
    const Nearest want = scanAll(path, q);
    Vec2 point, direction;
    float distance = 0;
    ASSERT_TRUE(path.nearestPathPoint(q.x, q.y, point, distance, direction));
    ASSERT_EQ(distance, want.distance) << i;
    ASSERT_EQ(point, want.point) << i;
    ASSERT_EQ(direction, want.direction) << i;

    agent.position = q;
    agent.heading = static_cast<float>(i);
    const Vec2 lookAhead = q + scaled(agent.velocity(), 10);
    const Nearest ahead = scanAll(path, lookAhead);
    const Vec2 expected = ahead.distance < 40 ? scaled(ahead.point - q, 0.025f * ahead.distance) : Vec2{};
    ASSERT_EQ(path.avoidance(agent), expected) << i;
  }
}

}  // namespace
