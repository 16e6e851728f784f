#include <gtest/gtest.h>

#include "app/MillisecondClock.h"
#include "app/RecordingClient.h"
#include "doubles/ScriptedApplication.h"

using Events = std::vector<std::string>;

TEST(ApplicationTest, PacingKeepsAFixedStepAndDropsABacklog) {
  ScriptedApplication app;
  const float interval = app.frameInterval();
  app.advanceMilliseconds(20);
  EXPECT_FALSE(app.pace());
  // What the idle loop sleeps for instead of spinning.
  EXPECT_FLOAT_EQ(app.secondsUntilNextFrame(), interval - 0.02f);

  app.advanceMilliseconds(46);  // between one and two intervals late: one fixed step
  EXPECT_TRUE(app.pace());
  EXPECT_FLOAT_EQ(app.lastFrameTime(), interval);

  app.advanceMilliseconds(100);  // a stall: one frame, and the backlog is dropped
  EXPECT_EQ(app.secondsUntilNextFrame(), 0.0f);
  EXPECT_TRUE(app.pace());
  EXPECT_FALSE(app.pace());
  EXPECT_NEAR(app.secondsUntilNextFrame(), interval, 1e-5f);

  // A new rate restarts the schedule from now.
  app.advanceMilliseconds(500);
  app.setFrameRate(5);
  app.advanceMilliseconds(199);
  EXPECT_FALSE(app.pace());
  app.advanceMilliseconds(2);
  EXPECT_TRUE(app.pace());
}

TEST(ApplicationTest, MotionComesBeforeTheTickAndAPressWhileHeldReleasesFirst) {
  ScriptedApplication app;
  RecordingClient client(&app);
  // A second in the past, so the first press never completes a double click.
  EXPECT_FLOAT_EQ(app.pressTime(), -1.0f);
  app.setMouseWorld(10.0f, 20.0f);
  app.tick();
  app.tick();  // no motion, no move event
  app.setMouseWorld(13.0f, 16.0f);
  app.tick();
  app.renderFrame();
  EXPECT_EQ(client.events, (Events{"move 10 20", "frame", "frame", "move 3 -4", "frame", "draw"}));

  client.events.clear();
  app.pressButton();
  const float firstPress = app.pressTime();
  app.advanceMilliseconds(250);
  app.onMouseDown(30.0f, 40.0f);  // the release of the first press was lost
  EXPECT_EQ(client.events, (Events{"down 13 16", "up 30 40", "down 30 40"}));
  EXPECT_FLOAT_EQ(app.pressTime(), firstPress + 0.25f);
}

TEST(ApplicationTest, ScriptedApplicationOwnsAndRestoresGlobalState) {
  ManualMilliseconds outer(777);
  setMillisecondSource(&outer);
  {
    ScriptedApplication app(5000);
    EXPECT_EQ(globalApplication(), &app);
  }
  // Menu picks and window callbacks must not reach a destroyed application.
  EXPECT_EQ(globalApplication(), nullptr);
  EXPECT_EQ(millisecondsNow(), 777u);
  setMillisecondSource(nullptr);
}
