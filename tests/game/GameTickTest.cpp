#include <cmath>

#include "FreshGame.h"
#include "app/InputMapping.h"
#include "app/ViewMove.h"
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

// The arrows and Home move the view only while zoomed in and never past
// the field; zooming back out to step 0 brings it to the middle.
TEST_F(GameTick, ViewMovesWithinTheFieldAtTheZoomAndComesBackToTheMiddle) {
  ScriptedApplication& app = h.app();
  g.onKey(kKeyRight);
  EXPECT_EQ(app.viewCentre().x, 400.0f);  // not zoomed: nothing to move over
  for (int i = 0; i < 8; ++i) {
    app.scrollWheel(1);
    h.tick();
  }
  h.tick(20);
  const float zoom = app.zoom();
  g.onKey(kKeyRight);
  g.onKey(kKeyUp);
  EXPECT_FLOAT_EQ(app.viewCentre().x, 400.0f + kViewStep / zoom);
  EXPECT_FLOAT_EQ(app.viewCentre().y, 400.0f - kViewStep / zoom);
  // A click lands on the world under the pointer wherever the view is.
  app.setMousePixel(400.0f, 400.0f);
  EXPECT_EQ(app.mouseWorldPosition().x, app.viewCentre().x);
  for (int i = 0; i < 40; ++i) g.onKey(kKeyLeft);
  EXPECT_FLOAT_EQ(app.viewCentre().x, 400.0f / zoom);  // the field's left edge at the window's
  h.tick(5);
  EXPECT_FLOAT_EQ(app.viewCentre().x, 400.0f / zoom);
  g.onKey(kKeyHome);
  EXPECT_EQ(app.viewCentre().x, 400.0f);
  EXPECT_EQ(app.viewCentre().y, 400.0f);

  // A middle-button drag carries the world under the pointer along.
  app.beginViewDrag(400.0f, 400.0f);
  app.dragViewTo(300.0f, 350.0f);
  app.endViewDrag();
  app.dragViewTo(0.0f, 0.0f);
  EXPECT_FLOAT_EQ(app.viewCentre().x, 400.0f + 100.0f / zoom);
  EXPECT_FLOAT_EQ(app.viewCentre().y, 400.0f + 50.0f / zoom);
  for (int i = 0; i < 8; ++i) {
    app.scrollWheel(-1);
    h.tick();
  }
  h.tick(20);
  EXPECT_EQ(app.viewCentre().x, 400.0f);
  EXPECT_EQ(app.viewCentre().y, 400.0f);
}

// Paused, a frame like the last is not drawn again; what changes the
// picture (the pointer, the view, a key) is drawn at once.
TEST_F(GameTick, PausedFramesLikeTheLastAreNotDrawnAgain) {
  ScriptedApplication& app = h.app();
  app.pressKey('p');
  h.tick(3);
  const int drawn = app.drawCount();
  h.tick(60);
  EXPECT_EQ(app.drawCount(), drawn);
  app.setMousePixel(300.0f, 310.0f);
  h.tick(2);
  EXPECT_EQ(app.drawCount(), drawn + 1);
  app.scrollWheel(1);
  h.tick(30);
  EXPECT_GT(app.drawCount(), drawn + 2);
  const int zoomed = app.drawCount();
  g.onKey(kKeyLeft);
  h.tick(2);
  EXPECT_EQ(app.drawCount(), zoomed + 1);
  app.askRedraw();  // the window lost its picture
  h.tick(2);
  EXPECT_EQ(app.drawCount(), zoomed + 2);
  g.showFirstStartHint();
  h.tick(60);  // drawn as it appears, then not until it fades
  EXPECT_EQ(app.drawCount(), zoomed + 3);
  g.showOutcome("Could not save", true);  // a line under the field in place of another
  h.tick(2);
  EXPECT_EQ(app.drawCount(), zoomed + 4);
  app.pressKey('p');
  h.tick(5);
  EXPECT_EQ(app.drawCount(), zoomed + 9);
}

}  // namespace
