#include "FreshGame.h"
#include "draw/RecordingDrawBackend.h"

namespace {

using GameFrame = FreshGame;

// The quad drawn exactly over r, if any.
const RecordedShape* findRect(const RecordingDrawBackend& rec, const Rect& r) {
  for (const RecordedShape& s : rec.shapes()) {
    if (s.primitive == Primitive::Quads && s.vertices.size() == 4 && s.point(0) == Vec2{r.minX, r.minY} &&
        s.point(2) == Vec2{r.maxX, r.maxY}) {
      return &s;
    }
  }
  return nullptr;
}

TEST_F(GameFrame, DaylightTintsTheFieldAndAVeilCoversEverythingOutside) {
  const struct {
    float daylight;
    float backgroundRed, backgroundBlue, tintAlpha;
  } cases[] = {{1.0f, 1.0f, 1.0f, 0.0f}, {0.0f, 0.9f, 0.97f, 0.5f}};
  const Rect veils[] = {{150, 650, 650, 800}, {150, 650, 0, 150}, {0, 150, 0, 800}, {650, 800, 0, 800}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.daylight);
    g.daylight = c.daylight;
    ScopedDrawRecording rec;
    g.onDraw();
    const RecordedShape* background = findRect(rec, Rect{0, 800, 0, 800});
    const RecordedShape* tint = findRect(rec, Rect{151, 649, 151, 649});
    ASSERT_TRUE(background && tint);
    EXPECT_FLOAT_EQ(background->vertices[0].color.r, c.backgroundRed);
    EXPECT_FLOAT_EQ(background->vertices[0].color.b, c.backgroundBlue);
    EXPECT_EQ(tint->vertices[0].color, (Rgba{0.0f, 0.0f, 0.7f, c.tintAlpha}));
    for (const Rect& r : veils) {
      const RecordedShape* s = findRect(rec, r);
      ASSERT_NE(s, nullptr) << r.minX << " " << r.minY;
      EXPECT_EQ(s->vertices[0].color, (Rgba{1, 1, 1, 0.5f}));
    }
    EXPECT_EQ(rec.misuseCount(), 0);
  }
}

TEST_F(GameFrame, MoneyBarSwellsWithUnshownIncomeAndMarksAHoveredPrice) {
  g.money = 0.25f;
  g.displayedMoney = 0.25f;
  EXPECT_TRUE(equals(g.moneyBarGeometry().bar, 200, 600, 114, 138));
  EXPECT_EQ(g.moneyBarTarget(), (Vec2{300, 126}));  // the end of the fill

  g.displayedMoney = 0.125f;
  const Game::MoneyBar m = g.moneyBarGeometry();
  EXPECT_FLOAT_EQ(m.swell, 0.25f);
  EXPECT_FLOAT_EQ(m.bar.maxX - m.bar.minX, 404.0f);
  EXPECT_FLOAT_EQ(m.bar.maxY - m.bar.minY, 25.0f);

  // Hovering an affordable item marks its price at the end of the fill.
  g.displayedMoney = 0.25f;
  g.costs[0] = 0.1f;
  const Rect cell = g.paletteCell(0);
  h.app().setMouseWorld(cell.minX + 5, cell.minY + 5);
  ScopedDrawRecording rec;
  g.onDraw();
  const RecordedShape* block = findRect(rec, Rect{260, 300, 115, 137});
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->vertices[0].color, (Rgba{1, 1, 1, 0.6f}));
}

TEST_F(GameFrame, FpsCounterShowsTheFramesOfTheLastWholeSecond) {
  ScopedDrawRecording rec;
  // A loop polling every millisecond runs a steady 30 frames a second.
  for (uint32_t ms = 1; ms <= 3500; ++ms) {
    h.app().clock().set(ms);
    h.app().pace();
  }
  EXPECT_NEAR(h.app().frameCount(), 105, 1);
  EXPECT_TRUE(rec.drewText("0 fps"));  // nothing to show before the first second ends
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
