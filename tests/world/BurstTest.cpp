#include "doubles/RecordingDrawBackend.h"
#include "game/FreshGame.h"
#include "world/Burst.h"

namespace {

using BurstTest = EmptyWorld;

TEST_F(BurstTest, LeavesThePenOpaqueAndTheWorldAfterItsDuration) {
  auto* hit = new Burst(g, 300.0f, 200.0f, Burst::kHitSize);
  auto* muzzle = new Burst(g, 0.0f, 0.0f, Burst::kMuzzleSize);

  h.app().advanceMilliseconds(500);
  {
    // Half faded, it still leaves the pen opaque for whatever draws next.
    ScopedDrawRecording rec;
    hit->draw();
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
