#include <cmath>

#include "EmptyWorld.h"
#include "draw/RecordingDrawBackend.h"
#include "world/Burst.h"

namespace {

using BurstTest = EmptyWorld;

TEST_F(BurstTest, SpreadsFadesAndLeavesTheWorldAfterItsDuration) {
  auto* hit = new Burst(g, 300.0f, 200.0f, Burst::kHitSize);
  auto* muzzle = new Burst(g, 0.0f, 0.0f, Burst::kMuzzleSize);

  h.app().advanceMilliseconds(500);
  {
    // Halfway e = 0.875: six discs 17.5 out with radius 29.5 at alpha 0.125.
    // A circle's last vertex lies one radius to the right of its centre, and
    // disc 1 is a sixth of a turn round.
    ScopedDrawRecording rec;
    hit->draw();
    const auto discs = rec.shapesOf(Primitive::Polygon);
    ASSERT_EQ(discs.size(), 6u);
    const RecordedVertex& v = discs[1]->vertices.back();
    EXPECT_NEAR(v.x, 300.0f + 17.5f * 0.5f + 29.5f, 1e-3f);
    EXPECT_NEAR(v.y, 200.0f + 17.5f * std::sqrt(0.75f), 1e-3f);
    EXPECT_NEAR(v.color.a, 0.125f, 1e-6f);
    EXPECT_EQ(pen().alpha, 1.0f);
  }

  // A muzzle flash lasts 0.6 s, a hit 1 s.
  h.app().advanceMilliseconds(90);
  muzzle->update();
  EXPECT_FALSE(muzzle->destroyRequested);
  h.app().advanceMilliseconds(20);
  muzzle->update();
  hit->update();
  EXPECT_TRUE(muzzle->destroyRequested);
  EXPECT_FALSE(hit->destroyRequested);
  // The game's own tick removes both a little after the second.
  h.tick(15);
  EXPECT_EQ(countOf<Burst>(g), 0);
}

}  // namespace
