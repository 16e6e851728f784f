#include <gtest/gtest.h>

#include "agents/Peep.h"
#include "draw/RecordingDrawBackend.h"
#include "support/HeadlessGame.h"

namespace {

bool sameRect(const RecordedShape& s, const Rect& r) {
  return s.primitive == Primitive::Quads && s.vertices.size() == 4 && s.point(0).x == r.minX &&
         s.point(0).y == r.minY && s.point(2).x == r.maxX && s.point(2).y == r.maxY;
}

const RecordedShape* findRect(const RecordingDrawBackend& rec, const Rect& r) {
  for (const RecordedShape& s : rec.shapes()) {
    if (sameRect(s, r)) return &s;
  }
  return nullptr;
}

TEST(GameFrame, BackgroundAndNightTintFollowDaylight) {
  HeadlessGame h;
  Game& g = h.game();
  const Rect tint{151, 649, 151, 649};
  {
    g.daylight = 1.0f;
    ScopedDrawRecording rec;
    g.onDraw();
    const RecordedShape* background = findRect(rec, Rect{0, 800, 0, 800});
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->vertices[0].color, (Rgba{1, 1, 1, 1}));
    const RecordedShape* night = findRect(rec, tint);
    ASSERT_NE(night, nullptr);
    EXPECT_EQ(night->vertices[0].color.a, 0.0f);
  }
  {
    g.daylight = 0.0f;
    ScopedDrawRecording rec;
    g.onDraw();
    const RecordedShape* background = findRect(rec, Rect{0, 800, 0, 800});
    ASSERT_NE(background, nullptr);
    EXPECT_FLOAT_EQ(background->vertices[0].color.r, 0.9f);
    EXPECT_FLOAT_EQ(background->vertices[0].color.b, 0.97f);
    const RecordedShape* night = findRect(rec, tint);
    ASSERT_NE(night, nullptr);
    EXPECT_EQ(night->vertices[0].color, (Rgba{0.0f, 0.0f, 0.7f, 0.5f}));
  }
}

TEST(GameFrame, VeilCoversEverythingOutsideThePlayArea) {
  HeadlessGame h;
  ScopedDrawRecording rec;
  h.game().onDraw();
  const Rect veils[] = {{150, 650, 650, 800}, {150, 650, 0, 150}, {0, 150, 0, 800}, {650, 800, 0, 800}};
  for (const Rect& r : veils) {
    const RecordedShape* s = findRect(rec, r);
    ASSERT_NE(s, nullptr) << r.minX << " " << r.minY;
    EXPECT_EQ(s->vertices[0].color, (Rgba{1, 1, 1, 0.5f}));
  }
  EXPECT_EQ(rec.misuseCount(), 0);
}

TEST(GameFrame, MoneyBarGeometryAndPriceBlock) {
  HeadlessGame h;
  Game& g = h.game();
  g.money = 0.25f;
  g.displayedMoney = 0.25f;
  Game::MoneyBar m = g.moneyBarGeometry();
  EXPECT_EQ(m.swell, 0.0f);
  EXPECT_TRUE(equals(m.bar, 200, 600, 114, 138));
  EXPECT_FLOAT_EQ(m.fill.maxX, 300.0f);
  EXPECT_FLOAT_EQ(g.moneyBarTarget().x, 300.0f);
  EXPECT_FLOAT_EQ(g.moneyBarTarget().y, 126.0f);

  // Income not yet shown swells the bar.
  g.displayedMoney = 0.125f;
  m = g.moneyBarGeometry();
  EXPECT_FLOAT_EQ(m.swell, 0.25f);
  EXPECT_FLOAT_EQ(m.bar.maxX - m.bar.minX, 404.0f);
  EXPECT_FLOAT_EQ(m.bar.maxY - m.bar.minY, 25.0f);

  // Hovering an affordable item marks its price at the end of the fill.
  g.displayedMoney = 0.25f;
  g.mode = 0;
  const Rect cell = g.paletteCell(0);
  h.app().setMouseWorld(cell.minX + 5, cell.minY + 5);
  g.costs[0] = 0.1f;
  ScopedDrawRecording rec;
  g.onDraw();
  const RecordedShape* block = findRect(rec, Rect{260, 300, 115, 137});
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->vertices[0].color, (Rgba{1, 1, 1, 0.6f}));
}

TEST(GameFrame, FpsCounterShowsTheFramesOfTheLastWholeSecond) {
  HeadlessGame h;
  ScopedDrawRecording rec;
  // A loop polling every millisecond runs a steady 30 frames a second.
  for (uint32_t ms = 1; ms <= 3500; ++ms) {
    h.app().clock().set(ms);
    h.app().pace();
  }
  EXPECT_NEAR(h.app().frameCount(), 105, 1);
  std::vector<std::string> texts = rec.texts();
  ASSERT_FALSE(texts.empty());
  bool sawZero = false;
  for (const std::string& t : texts) sawZero = sawZero || t == "0 fps";
  EXPECT_TRUE(sawZero);  // nothing to show before the first second ends
  EXPECT_TRUE(rec.drewText("29 fps"));
  EXPECT_FALSE(rec.drewText("30 fps"));
  EXPECT_TRUE(rec.drewText("Population: 10"));
}

TEST(GameFrame, DebugProbeLeavesTheWorldAsItWas) {
  HeadlessGame h;
  Game& g = h.game();
  g.debugView = true;
  h.app().setMouseWorld(400, 400);
  const int agents = g.agentCount;
  WorldObject* head = g.worldHead;
  ScopedDrawRecording rec;
  g.onDraw();
  EXPECT_EQ(g.agentCount, agents);
  EXPECT_EQ(g.worldHead, head);
  // The probe's body: a disc of radius 4 at the mouse, pale blue.
  bool probeDrawn = false;
  for (const RecordedShape* s : rec.shapesWithColor(Color3{0.3f, 0.3f, 1})) {
    if (s->primitive == Primitive::Polygon && s->vertices.size() == 8) {
      probeDrawn =
          probeDrawn || (std::abs(s->point(7).x - 404.0f) < 0.01f && std::abs(s->point(7).y - 400) < 0.01f);
    }
  }
  EXPECT_TRUE(probeDrawn);
}

}  // namespace
