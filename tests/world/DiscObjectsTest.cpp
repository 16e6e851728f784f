#include <gtest/gtest.h>

#include <cmath>

#include "agents/Peep.h"
#include "draw/RecordingDrawBackend.h"
#include "support/HeadlessGame.h"
#include "world/DiscObjects.h"
#include "world/Fountain.h"
#include "world/GroundMarker.h"

namespace {

void expectAt(Vec2 v, float x, float y, float tol = 1e-4f) {
  EXPECT_NEAR(v.x, x, tol);
  EXPECT_NEAR(v.y, y, tol);
}

TEST(DiscObjects, SeparationPushesOutOfTheDiscFadingToTheRim) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  Fountain f(g, 400, 400, 24);
  Peep p(g, 406, 400, Peep::kRested);
  expectAt(f.separation(p), 3.75f, 0);
  p.position = {400, 424};
  expectAt(f.separation(p), 0, 0);
  p.position = {400, 400};
  const Vec2 centre = f.separation(p);
  EXPECT_NEAR(length(centre), 5.0f, 1e-5f);
  const Vec2 again = f.separation(p);
  EXPECT_FALSE(centre == again);  // a fresh random direction each time
}

TEST(DiscObjects, AvoidanceSteersOnlyAgentsHeadingAtTheDisc) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  Fountain f(g, 400, 400, 24);
  // Speed 0, 60 units to the right, heading straight at the centre.
  Peep p(g, 460, 400, Peep::kRested);
  p.heading = kPi;
  p.speed = 0;
  const Vec2 steer = f.avoidance(p);
  const float h2 = (1.0f - 36.0f / 58.0f) * (1.0f - 36.0f / 58.0f);
  EXPECT_NEAR(steer.x, 24.0f * h2 * 16.0f, 1e-3f);  // about 55.2, away from the centre
  EXPECT_NEAR(steer.y, 0.0f, 1e-5f);

  // Heading away (120 degrees or more off) is never steered, near or far.
  for (float heading : {0.0f, 1.0f, -1.0f}) {
    p.heading = heading;
    for (float x : {420.0f, 430.0f, 460.0f}) {
      p.position = {x, 400};
      expectAt(f.avoidance(p), 0, 0);
    }
  }
  // The centre itself has no direction: no steer rather than NaN.
  p.position = {400, 400};
  expectAt(f.avoidance(p), 0, 0);
}

TEST(DiscObjects, MarkerPullsWithinTwiceItsRadiusAndIsHitOnlyInItsMiddle) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  GroundMarker m(g, 400, 400, 32);
  Peep p(g, 440, 400, Peep::kRested);
  expectAt(m.avoidance(p), -15, 0);
  p.position = {470, 400};
  expectAt(m.avoidance(p), 0, 0);
  EXPECT_EQ(m.separation(p), (Vec2{0, 0}));
  EXPECT_TRUE(m.containsPoint(407, 400));
  EXPECT_FALSE(m.containsPoint(410, 400));
  EXPECT_EQ(g.objectAt(410, 400), nullptr);
  EXPECT_TRUE(equals(m.bounds(), 368, 432, 368, 432));
}

TEST(DiscObjects, FountainPrototypeIsStillWhileAPlacedOneRipples) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  Fountain f(g, 102, 542, 24);
  auto frame = [&] {
    ScopedDrawRecording rec;
    f.draw();
    return rec.shapes();
  };
  auto sameShapes = [](const std::vector<RecordedShape>& a, const std::vector<RecordedShape>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (a[i].vertices.size() != b[i].vertices.size()) return false;
      for (size_t k = 0; k < a[i].vertices.size(); ++k) {
        if (a[i].point(k) != b[i].point(k) || !(a[i].vertices[k].color == b[i].vertices[k].color))
          return false;
      }
    }
    return true;
  };
  f.inactive = true;
  const auto first = frame();
  h.app().advanceMilliseconds(700);
  EXPECT_TRUE(sameShapes(first, frame()));
  f.inactive = false;
  const auto live = frame();
  h.app().advanceMilliseconds(700);
  EXPECT_FALSE(sameShapes(live, frame()));
}

}  // namespace
