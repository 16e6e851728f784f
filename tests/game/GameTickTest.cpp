#include <cmath>

#include "FreshGame.h"
#include "doubles/RecordingDrawBackend.h"

namespace {

using GameTick = FreshGame;

TEST_F(GameTick, MoneyDisplayDrainsAtAConstantRate) {
  // A purchase drains the display by 0.01 a tick until it reaches the money.
  g.displayedMoney = g.money;
  g.money -= 0.05f;
  h.tick();
  EXPECT_NEAR(g.displayedMoney - g.money, 0.04f, 1e-6);
  h.tick(4);
  EXPECT_LE(g.displayedMoney, g.money + 0.0001f);
  EXPECT_GT(g.displayedMoney, g.money - 0.01f);
}

TEST_F(GameTick, WheelZoomStepsOncePerTickWithinItsLevelsAndSnaps) {
  for (int i = 0; i < 11; ++i) {
    h.app().scrollWheel(1);
    h.tick();
  }
  EXPECT_EQ(g.zoomLevel, 8);
  h.tick(20);
  EXPECT_EQ(h.app().zoom(), static_cast<float>(std::pow(1.2000000476837158, 8)));  // snapped, not approached

  // Several notches between two ticks make one step: the tick reads the sign.
  h.app().scrollWheel(-1);
  h.app().scrollWheel(-1);
  h.tick();
  EXPECT_EQ(g.zoomLevel, 7);
  for (int i = 0; i < 12; ++i) {
    h.app().scrollWheel(-1);
    h.tick();
  }
  EXPECT_EQ(g.zoomLevel, 0);
}

TEST_F(GameTick, AHiddenWindowTicksWithoutDrawing) {
  ScopedDrawRecording rec;
  h.app().setVisible(false);
  const int frames = g.frameCounter;
  h.tick(3);
  EXPECT_EQ(g.frameCounter, frames + 3);
  EXPECT_TRUE(rec.shapes().empty());
  EXPECT_TRUE(rec.textRuns().empty());
  h.app().setVisible(true);
  h.tick();
  EXPECT_FALSE(rec.shapes().empty());
}

}  // namespace
