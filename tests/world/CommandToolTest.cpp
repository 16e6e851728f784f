#include <gtest/gtest.h>

#include "agents/Peep.h"
#include "app/FrameClock.h"
#include "support/HeadlessGame.h"
#include "world/CommandTool.h"
#include "world/RepelTool.h"

namespace {

// A game with nothing in it but a fresh command tool.
CommandTool* emptyWorldWithCommandTool(Game& g) {
  clearWorld(g);
  g.repelToolActive = false;
  g.replaceTool();
  return dynamic_cast<CommandTool*>(g.tool);
}

TEST(CommandTool, SweepsGrowingSelectsLeadsAndOrdersOnTheNextPress) {
  HeadlessGame h;
  Game& g = h.game();
  CommandTool* tool = emptyWorldWithCommandTool(g);
  ASSERT_NE(tool, nullptr);
  Peep a(g, 411, 400, Peep::kRested), b(g, 400, 413, Peep::kRested), c(g, 385, 400, Peep::kRested),
      d(g, 400, 383, Peep::kRested);

  h.app().setMouseWorld(400, 400);
  h.app().pressButton();
  EXPECT_EQ(g.mode, 3);
  EXPECT_TRUE(tool->armed);
  tool->mouseDown = true;  // as the tick copies them
  tool->mousePos = {400, 400};

  tool->affect(d);  // 17 away: beyond the empty sweep's 12
  EXPECT_FALSE(d.isSelected());
  const float radii[5] = {12, 13.75f, 15.5f, 17.25f, 19};
  Peep* order[4] = {&a, &b, &c, &d};  // 11, 13, 15 and 17 away: each caught by the growth before
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(tool->sweepRadius(), radii[i]);
    tool->affect(*order[i]);
    EXPECT_TRUE(order[i]->isSelected()) << i;
    EXPECT_TRUE(order[i]->hasTarget);
    EXPECT_EQ(order[i]->target, (Vec2{400, 400}));
  }
  tool->affect(a);  // already selected: not counted twice
  EXPECT_EQ(tool->sweepCount, 4);
  EXPECT_FLOAT_EQ(tool->sweepRadius(), radii[4]);

  h.app().releaseButton();
  tool->mouseDown = false;
  EXPECT_TRUE(tool->armed);
  tool->update();
  EXPECT_TRUE(tool->armed);

  h.app().setMouseWorld(300, 300);
  h.app().pressButton();
  EXPECT_EQ(g.mode, 0);  // the order used the press up
  for (Peep* p : order) {
    EXPECT_FALSE(p->isSelected());
    EXPECT_EQ(p->target, (Vec2{300, 300}));
  }
  EXPECT_EQ(tool->sweepCount, 0);
  EXPECT_FALSE(tool->armed);
  h.app().releaseButton();
}

TEST(CommandTool, DisarmsWhenNothingIsLeftToOrder) {
  HeadlessGame h;
  Game& g = h.game();
  CommandTool* tool = emptyWorldWithCommandTool(g);
  Peep far(g, 500, 500, Peep::kRested);

  // A sweep that catches nobody disarms at the release, so the next press
  // arms again instead of ordering.
  h.app().setMouseWorld(300, 300);
  h.app().pressButton();
  EXPECT_TRUE(tool->armed);
  h.app().releaseButton();
  EXPECT_FALSE(tool->armed);
  h.app().pressButton();
  EXPECT_EQ(g.mode, 3);
  EXPECT_TRUE(tool->armed);
  h.app().releaseButton();

  // Armed with a selection that has since gone: the tick disarms.
  tool->armed = true;
  tool->sweepCount = 1;
  tool->mouseDown = false;
  tool->update();
  EXPECT_FALSE(tool->armed);
  EXPECT_EQ(tool->sweepCount, 0);

  tool->sweepCount = 29;
  EXPECT_FLOAT_EQ(tool->sweepRadius(), 62.75f);
  tool->sweepCount = 30;
  EXPECT_EQ(tool->sweepRadius(), 64.0f);
  tool->sweepCount = 45;
  EXPECT_EQ(tool->sweepRadius(), 64.0f);
}

TEST(CommandTool, ShiftAtAPressSwitchesToTheRepelToolUntilAPressWithout) {
  HeadlessGame h;
  Game& g = h.game();
  emptyWorldWithCommandTool(g);
  h.app().setMouseWorld(300, 300);
  h.app().setModifiers(true);
  h.app().pressButton();
  EXPECT_TRUE(g.repelToolActive);
  RepelTool* repel = dynamic_cast<RepelTool*>(g.tool);
  ASSERT_NE(repel, nullptr);
  EXPECT_EQ(repel->strength, -1.0f);
  EXPECT_EQ(g.mode, 3);  // open ground, "Draw Roads" off
  EXPECT_EQ(g.held, nullptr);
  h.app().releaseButton();
  EXPECT_EQ(countOf<RepelTool>(g) + countOf<CommandTool>(g), 1);

  h.app().pressButton();  // Shift still held: the same tool
  EXPECT_EQ(g.tool, repel);
  h.app().releaseButton();
  h.app().setModifiers(false);
  h.app().pressButton();
  EXPECT_NE(dynamic_cast<CommandTool*>(g.tool), nullptr);
  EXPECT_EQ(countOf<RepelTool>(g), 0);
  h.app().releaseButton();
}

TEST(RepelTool, ShovesAgentsInsideTheGrowingRingAwayFromTheCursor) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  RepelTool tool(g);
  tool.mousePos = {400, 400};
  tool.pulsePhase = FrameClock::seconds() - 0.5f;  // the ring is at half its 64
  ASSERT_FLOAT_EQ(tool.ringRadius(), 32.0f);
  Peep p(g, 410, 400, Peep::kRested);
  const Vec2 shove = tool.avoidance(p);
  EXPECT_NEAR(shove.x, 10 * 20 * (1 - 10 / 32.0f) * (1 - 10 / 32.0f), 1e-3f);  // about 94.5
  EXPECT_NEAR(shove.y, 0.0f, 1e-5f);
  p.position = {400, 360};
  EXPECT_EQ(tool.avoidance(p), (Vec2{0, 0}));
  // The pull of a positive strength is clamped to 16 before scaling.
  tool.strength = 1.0f;
  p.position = {380, 400};
  EXPECT_NEAR(tool.avoidance(p).x, 16 * 20 * (1 - 20 / 32.0f) * (1 - 20 / 32.0f), 1e-3f);
}

}  // namespace
