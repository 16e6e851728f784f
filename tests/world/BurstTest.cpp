#include "doubles/RecordingDrawBackend.h"
#include "game/FreshGame.h"
#include "world/Burst.h"

namespace {

using BurstTest = EmptyWorld;

TEST_F(BurstTest, HalfFadedItLeavesThePenOpaqueForWhateverDrawsNext) {
  Burst hit(g, 300.0f, 200.0f, Burst::kHitSize);
  h.app().advanceMilliseconds(500);
  ScopedDrawRecording rec;
  hit.draw();
  EXPECT_EQ(pen().alpha, 1.0f);
}

}  // namespace
