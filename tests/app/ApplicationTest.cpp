#include <gtest/gtest.h>

#include "app/FrameClock.h"
#include "app/MillisecondClock.h"
#include "app/RecordingClient.h"
#include "app/ScriptedApplication.h"

using Events = std::vector<std::string>;

TEST(ApplicationTest, StallRunsOneFrameAndDropsTheBacklog) {
  ScriptedApplication app;
  RecordingClient client(&app);
  EXPECT_FLOAT_EQ(app.lastFrameTime(), 0.0f);

  app.advanceMilliseconds(100);  // three intervals at 30 fps
  EXPECT_TRUE(app.pace());
  EXPECT_FLOAT_EQ(app.lastFrameTime(), 0.1f);
  EXPECT_FALSE(app.pace());
  EXPECT_EQ(app.frameCount(), 1);
  EXPECT_NEAR(app.secondsUntilNextFrame(), 1.0f / 30.0f, 1e-5f);
}

TEST(ApplicationTest, LateLoopAdvancesByExactlyOneInterval) {
  ScriptedApplication app;
  const float interval = app.frameInterval();

  app.advanceMilliseconds(20);
  EXPECT_FALSE(app.pace());
  EXPECT_FLOAT_EQ(app.secondsUntilNextFrame(), interval - 0.02f);

  app.advanceMilliseconds(46);  // 66 ms: between one and two intervals late
  EXPECT_TRUE(app.pace());
  EXPECT_FLOAT_EQ(app.lastFrameTime(), interval);
  EXPECT_FALSE(app.pace());
  app.advanceMilliseconds(1);  // the next frame is due already
  EXPECT_TRUE(app.pace());
  EXPECT_FLOAT_EQ(app.lastFrameTime(), interval + interval);
  EXPECT_EQ(app.frameCount(), 2);
}

TEST(ApplicationTest, SetFrameRateRestartsPacingAtTheNewInterval) {
  ScriptedApplication app;
  app.advanceMilliseconds(500);
  app.setFrameRate(5);
  EXPECT_FLOAT_EQ(app.frameInterval(), 0.2f);
  EXPECT_FLOAT_EQ(app.lastFrameTime(), 0.5f);
  app.advanceMilliseconds(199);
  EXPECT_FALSE(app.pace());
  app.advanceMilliseconds(2);
  EXPECT_TRUE(app.pace());

  // Headless ticks run exactly one frame each at either rate, a frame
  // interval apart.
  const uint32_t before = app.clock().milliseconds();
  app.tick(3);
  EXPECT_NEAR(app.clock().milliseconds() - before, 600.0, 3.0);
  app.setFrameRate(30);
  app.tick(3);
  EXPECT_EQ(app.frameCount(), 7);
  EXPECT_NEAR(app.clock().milliseconds() - before, 700.0, 6.0);
}

TEST(ApplicationTest, FramesHandTheMouseMotionToTheClientBeforeTheTick) {
  ScriptedApplication app;
  RecordingClient client(&app);
  app.setMouseWorld(10.0f, 20.0f);
  app.tick();
  app.tick();  // no motion, no move event
  app.setMouseWorld(13.0f, 16.0f);
  app.tick();
  EXPECT_EQ(client.events, (Events{"move 10 20", "frame", "frame", "move 3 -4", "frame"}));

  client.events.clear();
  app.renderFrame();
  EXPECT_EQ(client.events, (Events{"draw"}));
  EXPECT_EQ(app.drawCount(), 1);
}

TEST(ApplicationTest, PressWhileHeldReleasesFirst) {
  ScriptedApplication app;
  RecordingClient client(&app);
  app.advanceMilliseconds(3000);
  app.setMouseWorld(10.0f, 10.0f);
  app.pressButton();
  EXPECT_TRUE(app.isButtonDown());
  EXPECT_FLOAT_EQ(app.pressTime(), 3.0f);
  app.advanceMilliseconds(250);
  app.onMouseDown(30.0f, 40.0f);  // the release of the first press was lost
  EXPECT_EQ(client.events, (Events{"down 10 10", "up 30 40", "down 30 40"}));
  EXPECT_TRUE(app.isButtonDown());
  EXPECT_EQ(app.pressPosition(), (Vec2{30.0f, 40.0f}));
  EXPECT_FLOAT_EQ(app.pressTime(), 3.25f);
}

TEST(ApplicationTest, ScriptedApplicationOwnsAndRestoresGlobalState) {
  ManualMilliseconds outer(777);
  setMillisecondSource(&outer);
  {
    ScriptedApplication app(5000);
    EXPECT_EQ(globalApplication(), &app);
    EXPECT_EQ(millisecondsNow(), 5000u);
    EXPECT_EQ(FrameClock::baseMilliseconds(), 5000u);
    // The first press is never a double click: the last one is a second ago.
    EXPECT_FLOAT_EQ(app.pressTime(), -1.0f);
  }
  EXPECT_EQ(globalApplication(), nullptr);
  EXPECT_EQ(millisecondsNow(), 777u);
  EXPECT_FALSE(FrameClock::isStarted());
  setMillisecondSource(nullptr);
}

TEST(ApplicationTest, ForwardersAreSafeWithoutAClient) {
  ScriptedApplication app;
  app.onMenuCommand(1);
  app.onKey('a');
  app.onWheel(1.0f);
  app.onMouseDown(1.0f, 2.0f);
  app.onMouseUp(1.0f, 2.0f);
  app.tick();
  app.renderFrame();
  EXPECT_EQ(app.frameCount(), 1);

  // A client's forwarding queries reach the application.
  RecordingClient client(&app);
  app.setModifiers(true, false, true);
  app.setMousePixel(100.0f, 50.0f);
  EXPECT_TRUE(client.isShiftDown());
  EXPECT_FALSE(client.isCtrlDown());
  EXPECT_TRUE(client.isAltDown());
  EXPECT_EQ(client.mouseWorldPosition(), (Vec2{100.0f, 50.0f}));
  EXPECT_TRUE(client.setWindowSize(800.0f, 800.0f));
  EXPECT_EQ(client.viewRect().maxX, 800.0f);
  EXPECT_EQ(client.menu(), app.menu());
}
