#include <gtest/gtest.h>

#include <cmath>

#include "agents/Peep.h"
#include "support/HeadlessGame.h"
#include "world/Zone.h"

namespace {

TEST(GameTick, MoneyDisplayEasesUpAndDrainsAtAConstantRate) {
  HeadlessGame h;
  Game& g = h.game();
  ASSERT_FLOAT_EQ(g.money, 0.25f);
  ASSERT_EQ(g.displayedMoney, 0.0f);
  int ticks = 0;
  while (std::fabs(g.money - g.displayedMoney) >= 0.001f && ticks < 200) {
    h.tick();
    ++ticks;
  }
  EXPECT_NEAR(ticks, 53, 1);

  // A purchase drains the display by 0.01 a tick until it reaches the money.
  g.displayedMoney = g.money;
  g.money -= 0.05f;
  const float before = g.displayedMoney;
  h.tick();
  EXPECT_NEAR(before - g.displayedMoney, 0.01f, 1e-6);
  h.tick(4);
  EXPECT_LE(g.displayedMoney, g.money + 0.0001f);
  EXPECT_GT(g.displayedMoney, g.money - 0.01f);
}

TEST(GameTick, WheelZoomClimbsToTheTopLevelAndSnaps) {
  HeadlessGame h;
  Game& g = h.game();
  h.app().scrollWheel(1);
  h.tick();
  EXPECT_EQ(g.zoomLevel, 1);
  EXPECT_FLOAT_EQ(h.app().zoom(), 1.1f);  // halfway from 1 to 1.2

  for (int i = 0; i < 10; ++i) {
    h.app().scrollWheel(1);
    h.tick();
  }
  EXPECT_EQ(g.zoomLevel, 8);
  const float top = static_cast<float>(std::pow(1.2000000476837158, 8));
  h.tick(20);
  EXPECT_EQ(h.app().zoom(), top);  // snapped exactly, not approached forever

  // Every notch counts, even when several arrive between two ticks: each
  // tick reads the sign of what accumulated.
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

TEST(GameTick, DaylightFollowsTheEasedTriangle) {
  HeadlessGame h;
  Game& g = h.game();
  EXPECT_EQ(g.daylight, 0.0f);
  h.tick();
  EXPECT_EQ(g.frameCounter, 241);
  // phase 241/960 ~ 0.251: just past the 0.75 of a quarter day.
  EXPECT_NEAR(g.daylight, 0.75f, 0.003f);
  h.tick(239);  // frameCounter 480: noon
  EXPECT_FLOAT_EQ(g.daylight, 1.0f);
  h.tick(480);  // frameCounter 960: midnight
  EXPECT_FLOAT_EQ(g.daylight, 0.0f);
}

TEST(GameTick, DeletingHeldToolOrZoneClearsThePointers) {
  HeadlessGame h;
  Game& g = h.game();
  Peep* peep = nullptr;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (!o->inactive) peep = dynamic_cast<Peep*>(o);
    if (peep) break;
  }
  ASSERT_NE(peep, nullptr);
  g.held = peep;
  g.tool = peep;
  g.mode = 1;
  peep->destroyRequested = true;
  g.zone->destroyRequested = true;
  h.tick();
  EXPECT_EQ(g.held, nullptr);
  EXPECT_EQ(g.tool, nullptr);
  EXPECT_EQ(g.zone, nullptr);
  EXPECT_EQ(g.mode, 0);
  EXPECT_TRUE(equals(g.playArea(), 0, 100, 0, 100));
}

}  // namespace
