#include <gtest/gtest.h>

#include <cmath>

#include "draw/RecordingDrawBackend.h"
#include "support/HeadlessGame.h"
#include "world/Burst.h"

namespace {

TEST(Burst, SpreadsAndFadesOverItsDuration) {
  HeadlessGame h;
  Game& game = h.game();
  clearWorld(game);
  auto* hit = new Burst(game, 300.0f, 200.0f, Burst::kHitSize);
  auto* muzzle = new Burst(game, 0.0f, 0.0f, Burst::kMuzzleSize);
  EXPECT_FLOAT_EQ(hit->duration, 1.0f);
  EXPECT_FLOAT_EQ(muzzle->duration, 0.6f);
  EXPECT_EQ(hit->drawLayer(), 3);

  {
    // At the start: six opaque discs of radius 12 on the centre.
    ScopedDrawRecording rec;
    hit->draw();
    const auto discs = rec.shapesOf(Primitive::Polygon);
    ASSERT_EQ(discs.size(), 6u);
    EXPECT_NEAR(discs[0]->vertices.back().x, 312.0f, 1e-3f);
    EXPECT_NEAR(discs[5]->vertices.back().y, 200.0f, 1e-3f);
    EXPECT_EQ(discs[0]->vertices[0].color.a, 1.0f);
  }

  h.app().advanceMilliseconds(500);
  ScopedDrawRecording rec;
  hit->draw();
  // Halfway e = 0.875: discs 17.5 out with radius 29.5 at alpha 0.125.
  const auto discs = rec.shapesOf(Primitive::Polygon);
  ASSERT_EQ(discs.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    const RecordedShape& s = *discs[i];
    float cx = 0.0f, cy = 0.0f;
    for (const RecordedVertex& v : s.vertices) {
      cx += v.x;
      cy += v.y;
    }
    cx /= static_cast<float>(s.vertices.size());
    cy /= static_cast<float>(s.vertices.size());
    const float a = static_cast<float>(i) * kTwoPi / 6.0f;
    EXPECT_NEAR(cx, 300.0f + 17.5f * std::cos(a), 1e-3f) << "disc " << i;
    EXPECT_NEAR(cy, 200.0f + 17.5f * std::sin(a), 1e-3f) << "disc " << i;
    EXPECT_NEAR(std::hypot(s.vertices[0].x - cx, s.vertices[0].y - cy), 29.5f, 1e-3f);
    EXPECT_NEAR(s.vertices[0].color.a, 0.125f, 1e-6f);
    EXPECT_EQ(s.vertices[0].color.r, 0.6f);
  }
  EXPECT_EQ(pen().alpha, 1.0f);
}

TEST(Burst, LeavesTheWorldOnceFaded) {
  HeadlessGame h;
  Game& game = h.game();
  clearWorld(game);
  auto* hit = new Burst(game, 300.0f, 200.0f, Burst::kHitSize);
  auto* muzzle = new Burst(game, 0.0f, 0.0f, Burst::kMuzzleSize);

  h.app().advanceMilliseconds(590);
  muzzle->update();
  EXPECT_FALSE(muzzle->destroyRequested);
  h.app().advanceMilliseconds(20);
  muzzle->update();
  hit->update();
  EXPECT_TRUE(muzzle->destroyRequested);
  EXPECT_FALSE(hit->destroyRequested);
  muzzle->destroyRequested = false;

  // Through the game's own tick: both are gone a little after a second.
  int ticks = 0;
  while (countOf<Burst>(game) > 0 && ticks < 100) {
    h.tick();
    ++ticks;
  }
  EXPECT_EQ(countOf<Burst>(game), 0);
  EXPECT_LT(ticks, 40);
}

}  // namespace
