#include "EmptyWorld.h"
#include "agents/Peep.h"
#include "draw/RecordingDrawBackend.h"
#include "world/Fountain.h"
#include "world/GroundMarker.h"
#include "world/GuardTower.h"

namespace {

using DiscObjectsTest = EmptyWorld;

void expectAt(Vec2 v, float x, float y) {
  EXPECT_NEAR(v.x, x, 1e-3f);
  EXPECT_NEAR(v.y, y, 1e-3f);
}

TEST_F(DiscObjectsTest, FountainPushesOutAndSteersOnlyAgentsHeadingAtIt) {
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

  // Speed 0, 60 units away, heading straight at the centre: about 55.2 away.
  p.position = {460, 400};
  p.heading = kPi;
  p.speed = 0;
  const float h2 = (1.0f - 36.0f / 58.0f) * (1.0f - 36.0f / 58.0f);
  expectAt(f.avoidance(p), 24.0f * h2 * 16.0f, 0);
  // Heading away (120 degrees or more off) is never steered, near or far.
  for (float heading : {0.0f, 1.0f, -1.0f}) {
    p.heading = heading;
    for (float x : {420.0f, 460.0f}) {
      p.position = {x, 400};
      expectAt(f.avoidance(p), 0, 0);
    }
  }
}

TEST_F(DiscObjectsTest, MarkerPullsWithinTwiceItsRadiusAndIsHitOnlyInItsMiddle) {
  GroundMarker m(g, 400, 400, 32);
  Peep p(g, 440, 400, Peep::kRested);
  expectAt(m.avoidance(p), -15, 0);
  p.position = {470, 400};
  expectAt(m.avoidance(p), 0, 0);
  EXPECT_TRUE(m.containsPoint(407, 400));
  EXPECT_EQ(g.objectAt(410, 400), nullptr);
}

// The vertices of one draw() as flat numbers.
std::vector<float> picture(WorldObject& o) {
  ScopedDrawRecording rec;
  o.draw();
  std::vector<float> out;
  for (const RecordedShape& s : rec.shapes()) {
    for (const RecordedVertex& v : s.vertices) out.insert(out.end(), {v.x, v.y, v.color.b, v.color.a});
  }
  return out;
}

TEST_F(DiscObjectsTest, FountainPrototypeIsStillWhileAPlacedOneRipples) {
  Fountain f(g, 102, 542, 24);
  f.inactive = true;
  const auto still = picture(f);
  h.app().advanceMilliseconds(700);
  EXPECT_EQ(picture(f), still);
  f.inactive = false;
  const auto live = picture(f);
  h.app().advanceMilliseconds(700);
  EXPECT_NE(picture(f), live);
}

TEST_F(DiscObjectsTest, GuardTowerPostsOnTheRimNearestFirstMovingAlong) {
  GuardTower t(g, 100, 100, 12);
  const Vec2 expected[6] = {{112, 100}, {106, 110.392f}, {94, 110.392f},
                            {88, 100},  {94, 89.608f},   {106, 89.608f}};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    expectAt(t.posts[i].position(), expected[i].x, expected[i].y);
  }
  EXPECT_EQ(t.slotAt(76.1f, 100), &t.posts[3]);  // 11.9 from post 3, 12 or more from the rest
  EXPECT_EQ(t.slotAt(75, 100), nullptr);
  EXPECT_EQ(t.slotAt(112, 108), &t.posts[0]);  // within reach of posts 0 and 1
  EXPECT_EQ(g.anchorAt(112, 108, nullptr), &t.posts[0]);

  t.moveBy(5, 0);
  EXPECT_EQ(t.centre, (Vec2{105, 100}));
  expectAt(t.posts[3].position(), 93, 100);
  EXPECT_EQ(t.slotAt(128, 100), &t.posts[0]);  // out of reach before the move
}

}  // namespace
