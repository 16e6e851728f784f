#include <cmath>

#include "FreshGame.h"
#include "agents/Peep.h"
#include "world/Zone.h"

namespace {

using GameTick = FreshGame;

TEST_F(GameTick, MoneyDisplayEasesUpAndDrainsAtAConstantRate) {
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
  h.tick();
  EXPECT_NEAR(g.displayedMoney - g.money, 0.04f, 1e-6);
  h.tick(4);
  EXPECT_LE(g.displayedMoney, g.money + 0.0001f);
  EXPECT_GT(g.displayedMoney, g.money - 0.01f);
}

TEST_F(GameTick, WheelZoomClimbsToTheTopLevelAndSnaps) {
  h.app().scrollWheel(1);
  h.tick();
  EXPECT_EQ(g.zoomLevel, 1);
  EXPECT_FLOAT_EQ(h.app().zoom(), 1.1f);  // halfway from 1 to 1.2
  for (int i = 0; i < 10; ++i) {
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

TEST_F(GameTick, DaylightFollowsTheEasedTriangle) {
  h.tick();
  EXPECT_EQ(g.frameCounter, 241);
  // phase 241/960 ~ 0.251: just past the 0.75 of a quarter day.
  EXPECT_NEAR(g.daylight, 0.75f, 0.003f);
  h.tick(239);  // frameCounter 480: noon
  EXPECT_FLOAT_EQ(g.daylight, 1.0f);
  h.tick(480);  // frameCounter 960: midnight
  EXPECT_FLOAT_EQ(g.daylight, 0.0f);
}

TEST_F(GameTick, DeletingHeldToolOrZoneClearsThePointers) {
  Peep* peep = nullptr;
  for (WorldObject* o = g.worldHead; o && !peep; o = o->nextObject()) {
    if (!o->inactive) peep = dynamic_cast<Peep*>(o);
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
