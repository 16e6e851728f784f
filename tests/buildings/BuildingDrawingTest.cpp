#include <gtest/gtest.h>

#include <cmath>

#include "buildings/SleepBuilding.h"
#include "buildings/WorkBuilding.h"
#include "draw/Pen.h"
#include "draw/RecordingDrawBackend.h"
#include "support/HeadlessGame.h"

namespace {

const Rect kPlot{100, 200, 50, 150};

// Lines recorded from point a (and, when given, to point b).
std::vector<const RecordedShape*> linesFrom(const RecordingDrawBackend& rec, Vec2 a) {
  std::vector<const RecordedShape*> found;
  for (const RecordedShape* s : rec.shapesOf(Primitive::Lines)) {
    if (s->point(0) == a) found.push_back(s);
  }
  return found;
}

bool drewLineAtY(const RecordingDrawBackend& rec, float y) {
  for (const RecordedShape* s : rec.shapesOf(Primitive::Lines)) {
    if (s->point(0).y == y && s->point(1).y == y) return true;
  }
  return false;
}

TEST(BuildingDrawing, DoorsSwingOutAndGlowAtNight) {
  HeadlessGame h;
  Game& g = h.game();
  SleepBuilding s(g, kPlot, 1, 2);
  const Door& top = s.doors[0];
  ScopedDrawRecording rec;

  s.draw();
  auto lines = linesFrom(rec, top.end1);
  ASSERT_EQ(lines.size(), 1u);  // closed: the leaf lies on the line and is not drawn
  EXPECT_EQ(lines[0]->point(1), top.end2);
  EXPECT_EQ(lines[0]->vertices[0].color, (Rgba{0, 0, 0, 1}));
  EXPECT_EQ(lines[0]->vertices[0].lineWidth, 3.0f);
  EXPECT_TRUE(rec.shapesWithColor({1, 1, 0.5f}).empty());  // nobody in: no light

  s.doorSwing = {0.0f, 1.0f, -10.0f, 0.5f};  // fully open
  s.occupants = 1;
  g.daylight = 0.0f;
  rec.clear();
  s.draw();
  lines = linesFrom(rec, top.end1);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]->vertices[0].color, (Rgba{0.5f, 0.5f, 0.5f, 1}));
  EXPECT_EQ(lines[0]->vertices[0].lineWidth, 2.0f);
  // The leaf has swung 115 degrees from the wall, outwards (up).
  const Vec2 tip = lines[1]->point(1);
  EXPECT_NEAR(std::atan2(tip.y - top.end1.y, tip.x - top.end1.x), -2.0071287f, 1e-4f);
  EXPECT_NEAR(distanceTo(top.end1, tip.x, tip.y), 12.0f, 1e-4f);
  const auto lights = rec.shapesWithColor({1, 1, 0.5f});
  ASSERT_EQ(lights.size(), 4u);
  EXPECT_EQ(lights[0]->vertices[0].color.a, 0.5f);
  EXPECT_EQ(lights[0]->point(2), (Vec2{top.end2.x, top.end2.y - 12}));
  EXPECT_EQ(rec.texts(), (std::vector<std::string>{"z", "Z", "z"}));
  EXPECT_EQ(pen().width, 1.0f);
  EXPECT_EQ(pen().alpha, 1.0f);

  g.daylight = 1.0f;
  rec.clear();
  s.draw();
  EXPECT_EQ(rec.shapesWithColor({1, 1, 0.5f})[0]->vertices[0].color.a, 0.0f);
}

TEST(BuildingDrawing, BarsAndSmokeShowWhatGoesOnInside) {
  HeadlessGame h;
  WorkBuilding w(h.game(), kPlot, 3, 5);
  const Color3 smoke{0.25f, 0.25f, 0.25f};
  ScopedDrawRecording rec;

  w.inactive = true;  // a palette prototype
  w.draw();
  EXPECT_FALSE(drewLineAtY(rec, 160));

  w.inactive = false;
  rec.clear();
  w.draw();
  EXPECT_TRUE(drewLineAtY(rec, 160));
  EXPECT_FALSE(drewLineAtY(rec, 170));
  EXPECT_TRUE(rec.shapesWithColor(smoke).empty());

  w.occupants = 2;
  w.payoutProgress = 0.5f;
  rec.clear();
  w.draw();
  EXPECT_EQ(linesFrom(rec, {100, 170}).back()->point(1), (Vec2{150, 170}));
  EXPECT_EQ(rec.shapesWithColor(smoke).size(), 2u);  // one translucent puff per worker
}

}  // namespace

namespace {

// Shows the switch the military building draws.
class SwitchProbe : public Building {
 public:
  using Building::Building;
  using Building::drawSwitch;
};

TEST(BuildingDrawing, SwitchLeverAndCapitalDomes) {
  HeadlessGame h;
  SwitchProbe b(h.game(), kPlot, 1);
  ScopedDrawRecording rec;
  b.drawSwitch(true, false);
  auto quads = rec.shapesOf(Primitive::Quads);
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(quads[0]->point(0), (Vec2{184, 126}));  // the plate
  EXPECT_EQ(quads[1]->point(2), (Vec2{196, 136}));  // on: the lever in the top half, black
  EXPECT_EQ(quads[1]->vertices[0].color, (Rgba{0, 0, 0, 1}));
  rec.clear();
  b.drawSwitch(false, false);
  quads = rec.shapesOf(Primitive::Quads);
  EXPECT_EQ(quads[1]->point(0), (Vec2{184, 136}));
  EXPECT_EQ(quads[1]->vertices[0].color, (Rgba{0.5f, 0.5f, 0.5f, 1}));

  // The capital's domes: the largest first, the smallest (radius 5) on top.
  CapitalBuilding capital(h.game(), kPlot, 3);
  rec.clear();
  capital.draw();
  std::vector<const RecordedShape*> domes;
  for (const RecordedShape* s : rec.shapesOf(Primitive::Polygon)) {
    if (s->vertices.size() > 3) domes.push_back(s);
  }
  ASSERT_EQ(domes.size(), 3u);
  const Vec2 edge = domes[0]->point(domes[0]->vertices.size() - 1);
  EXPECT_NEAR(distanceTo({150, 80}, edge.x, edge.y), 35.0f, 1e-3f);
  const Vec2 top = domes[2]->point(domes[2]->vertices.size() - 1);
  EXPECT_NEAR(distanceTo({150, 40}, top.x, top.y), 5.0f, 1e-3f);
  EXPECT_EQ(pen().width, 1.0f);
}

}  // namespace
