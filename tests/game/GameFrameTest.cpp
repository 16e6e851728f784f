#include "FreshGame.h"
#include "doubles/RecordingDrawBackend.h"

namespace {

using GameFrame = FreshGame;

TEST_F(GameFrame, NightTintIsNoneAtNoonAndDarkAtMidnight) {
  // The game opens a quarter into its 960-tick day: noon is 240 ticks on,
  // midnight 480 after that.
  float tintAlpha[2] = {};
  for (int night : {0, 1}) {
    SCOPED_TRACE(night);
    h.tick(night ? 480 : 240);
    ScopedDrawRecording rec;
    g.onDraw();
    const auto tint = rec.shapesWithColor(Color3{0.0f, 0.0f, 0.7f});
    ASSERT_EQ(tint.size(), 1u);
    tintAlpha[night] = tint[0]->vertices[0].color.a;
    EXPECT_EQ(rec.misuseCount(), 0);
  }
  EXPECT_EQ(tintAlpha[0], 0.0f);
  EXPECT_GT(tintAlpha[1], 0.25f);
}

TEST_F(GameFrame, MoneyBarSwellsWithUnshownIncomeAndMarksAHoveredPrice) {
  g.money = 0.25f;
  g.displayedMoney = 0.25f;
  const Rect settled = g.moneyBarGeometry().bar;
  EXPECT_EQ(g.moneyBarTarget(), (Vec2{300, 126}));  // the end of the fill, a quarter along
  g.displayedMoney = 0.125f;
  const Rect swollen = g.moneyBarGeometry().bar;
  EXPECT_GT(swollen.maxX - swollen.minX, settled.maxX - settled.minX);

  // Hovering an affordable item marks its price, a tenth of the bar, at the
  // end of the fill.
  g.displayedMoney = 0.25f;
  g.costs[0] = 0.1f;
  const Rect cell = g.paletteCell(0);
  h.app().setMouseWorld(cell.minX + 5, cell.minY + 5);
  ScopedDrawRecording rec;
  g.onDraw();
  bool marked = false;
  for (const RecordedShape* s : rec.shapesOf(Primitive::Quads)) {
    marked = marked || (s->point(0) == Vec2{260, 115} && s->point(2) == Vec2{300, 137});
  }
  EXPECT_TRUE(marked);
}

TEST_F(GameFrame, FpsCounterShowsTheFramesOfTheLastWholeSecond) {
  ScopedDrawRecording rec;
  // A loop polling every millisecond runs a steady 30 frames a second; the
  // frame that opens a second is not counted in it.
  for (uint32_t ms = 1; ms <= 3500; ++ms) {
    h.app().clock().set(ms);
    h.app().pace();
  }
  EXPECT_TRUE(rec.drewText("29 fps"));
  EXPECT_FALSE(rec.drewText("30 fps"));
  EXPECT_TRUE(rec.drewText("Population: 10"));
}

TEST_F(GameFrame, DebugProbeLeavesTheWorldAsItWas) {
  g.debugView = true;
  h.app().setMouseWorld(400, 400);
  const int agents = g.agentCount;
  WorldObject* head = g.worldHead;
  ScopedDrawRecording rec;
  g.onDraw();
  EXPECT_EQ(g.agentCount, agents);
  EXPECT_EQ(g.worldHead, head);
  // The probe itself is drawn, in pale blue.
  EXPECT_FALSE(rec.shapesWithColor(Color3{0.3f, 0.3f, 1}).empty());
}

}  // namespace
