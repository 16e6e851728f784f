#include "agents/Peep.h"
#include "app/FrameClock.h"
#include "doubles/RecordingDrawBackend.h"
#include "draw/Colors.h"
#include "game/FreshGame.h"
#include "world/CommandTool.h"
#include "world/RepelTool.h"

namespace {

using CommandToolTest = EmptyWorld;
using RepelToolTest = EmptyWorld;

TEST_F(CommandToolTest, SweepsSelectsOrdersOnTheNextPressAndDisarmsWhenNothingIsLeft) {
  g.replaceTool();
  auto* tool = dynamic_cast<CommandTool*>(g.tool);
  ASSERT_NE(tool, nullptr);
  // 11, 13, 15 and 17 away: each is caught only once the one before grew the sweep.
  Peep a(g, 411, 400, 0), b(g, 400, 413, 0), c(g, 385, 400, 0), d(g, 400, 383, 0);
  Peep* peeps[4] = {&a, &b, &c, &d};

  h.app().setMouseWorld(400, 400);
  h.app().pressButton();
  EXPECT_EQ(g.mode, 3);
  tool->mouseDown = true;  // as the tick copies them
  tool->mousePos = {400, 400};
  tool->affect(d);
  EXPECT_FALSE(d.isSelected());
  for (Peep* p : peeps) {
    tool->affect(*p);
    EXPECT_TRUE(p->isSelected());
    EXPECT_EQ(p->target, (Vec2{400, 400}));
  }
  tool->affect(a);  // already selected: not counted twice
  {
    // Held, the sweep circle (12, and 1.75 more for each peep caught) is
    // drawn round the pointer in magenta; a caught peep is ringed in yellow.
    ScopedDrawRecording rec;
    tool->draw();
    a.draw();
    const auto sweep = rec.shapesWithColor(kMagenta);
    ASSERT_EQ(sweep.size(), 1u);
    EXPECT_NEAR(length(sweep[0]->point(0) - Vec2{400, 400}), 19.0f, 1e-3f);
    EXPECT_EQ(rec.shapesWithColor(kYellow).size(), 1u);
  }

  h.app().releaseButton();
  tool->mouseDown = false;
  tool->update();
  EXPECT_TRUE(tool->armed);
  h.app().setMouseWorld(300, 340);
  h.app().pressButton();
  EXPECT_EQ(g.mode, 0);  // the order used the press up
  for (Peep* p : peeps) EXPECT_EQ(p->target, (Vec2{300, 340}));
  EXPECT_EQ(g.selectedCount(), 0);
  EXPECT_FALSE(tool->armed);
  h.app().releaseButton();

  // A sweep that catches nobody disarms at the release, so the next press
  // arms again instead of ordering.
  h.app().pressButton();
  h.app().releaseButton();
  EXPECT_FALSE(tool->armed);
  h.app().pressButton();
  EXPECT_EQ(g.mode, 3);
  EXPECT_TRUE(tool->armed);
  h.app().releaseButton();
  // Armed for a selection that has since gone: the tick disarms.
  tool->armed = true;
  tool->sweepCount = 1;
  tool->update();
  EXPECT_FALSE(tool->armed);
  EXPECT_EQ(tool->sweepCount, 0);

  tool->sweepCount = 30;
  EXPECT_EQ(tool->sweepRadius(), 64.0f);
}

TEST_F(CommandToolTest, ShiftAtAPressSwitchesToTheRepelToolUntilAPressWithout) {
  g.replaceTool();
  h.app().setMouseWorld(300, 300);
  h.app().setModifiers(true);
  h.app().pressButton();
  RepelTool* repel = dynamic_cast<RepelTool*>(g.tool);
  ASSERT_NE(repel, nullptr);
  h.app().releaseButton();
  h.app().pressButton();  // Shift still held: the same tool
  EXPECT_EQ(g.tool, repel);
  h.app().releaseButton();
  h.app().setModifiers(false);
  h.app().pressButton();
  EXPECT_NE(dynamic_cast<CommandTool*>(g.tool), nullptr);
  EXPECT_EQ(countOf<RepelTool>(g), 0);
}

TEST_F(RepelToolTest, ShovesAgentsInsideTheGrowingRingAwayFromTheCursor) {
  RepelTool tool(g);
  tool.mousePos = {400, 400};
  tool.pulsePhase = FrameClock::seconds() - 0.5f;  // the ring at half its 64
  ASSERT_FLOAT_EQ(tool.ringRadius(), 32.0f);
  Peep p(g, 410, 400, 0);
  EXPECT_NEAR(tool.avoidance(p).x, 10 * 20 * (1 - 10 / 32.0f) * (1 - 10 / 32.0f), 1e-3f);  // about 94.5
  p.position = {400, 360};
  EXPECT_EQ(tool.avoidance(p), (Vec2{0, 0}));
  tool.strength = 1.0f;  // a pull, clamped to 16 before scaling
  p.position = {380, 400};
  EXPECT_NEAR(tool.avoidance(p).x, 16 * 20 * (1 - 20 / 32.0f) * (1 - 20 / 32.0f), 1e-3f);
}

}  // namespace
