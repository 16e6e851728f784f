#include <gtest/gtest.h>

#include <cmath>

#include "buildings/SleepBuilding.h"
#include "buildings/WorkBuilding.h"
#include "draw/Pen.h"
#include "draw/RecordingDrawBackend.h"
#include "support/HeadlessGame.h"

namespace {

const Rect kPlot{100, 200, 50, 150};
const Color3 kLamp{1, 1, 0.5f};

std::vector<const RecordedShape*> linesFrom(const RecordingDrawBackend& rec, Vec2 a) {
  std::vector<const RecordedShape*> found;
  for (const RecordedShape* s : rec.shapesOf(Primitive::Lines)) {
    if (s->point(0) == a) found.push_back(s);
  }
  return found;
}

TEST(BuildingDrawing, DoorsSwingOutAndGlowAtNight) {
  HeadlessGame h;
  SleepBuilding s(h.game(), kPlot, 1, 2);
  const Door& top = s.doors[0];
  ScopedDrawRecording rec;
  s.draw();
  auto lines = linesFrom(rec, top.end1);
  ASSERT_EQ(lines.size(), 1u);  // closed: the leaf lies on the door line and is not drawn
  EXPECT_EQ(lines[0]->vertices[0].color, (Rgba{0, 0, 0, 1}));
  EXPECT_EQ(lines[0]->vertices[0].lineWidth, 3.0f);
  EXPECT_TRUE(rec.shapesWithColor(kLamp).empty());  // nobody in: no light

  s.doorSwing = {0.0f, 1.0f, -10.0f, 0.5f};  // fully open
  s.occupants = 1;
  h.game().daylight = 0.0f;
  rec.clear();
  s.draw();
  lines = linesFrom(rec, top.end1);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]->vertices[0].color, (Rgba{0.5f, 0.5f, 0.5f, 1}));
  EXPECT_EQ(lines[0]->vertices[0].lineWidth, 2.0f);
  const Vec2 tip = lines[1]->point(1);  // swung 115 degrees from the wall, outwards
  EXPECT_NEAR(std::atan2(tip.y - top.end1.y, tip.x - top.end1.x), -2.0071287f, 1e-4f);
  const auto lights = rec.shapesWithColor(kLamp);
  ASSERT_EQ(lights.size(), 4u);
  EXPECT_EQ(lights[0]->vertices[0].color.a, 0.5f);
  EXPECT_EQ(lights[0]->point(2), (Vec2{top.end2.x, top.end2.y - 12}));
  EXPECT_EQ(rec.texts(), (std::vector<std::string>{"z", "Z", "z"}));
  EXPECT_EQ(pen().width, 1.0f);
  EXPECT_EQ(pen().alpha, 1.0f);
}

TEST(BuildingDrawing, BarsSmokeAndTheSwitch) {
  HeadlessGame h;
  WorkBuilding w(h.game(), kPlot, 3, 5);
  const Color3 smoke{0.25f, 0.25f, 0.25f};
  ScopedDrawRecording rec;
  w.inactive = true;  // a palette prototype has no bars
  w.draw();
  EXPECT_TRUE(linesFrom(rec, {100, 160}).empty());

  w.inactive = false;
  rec.clear();
  w.draw();
  EXPECT_EQ(linesFrom(rec, {100, 160}).size(), 2u);  // occupancy at 0
  EXPECT_TRUE(linesFrom(rec, {100, 170}).empty());   // no payout bar
  EXPECT_TRUE(rec.shapesWithColor(smoke).empty());

  w.occupants = 2;
  w.payoutProgress = 0.5f;
  rec.clear();
  w.draw();
  EXPECT_EQ(linesFrom(rec, {100, 170}).back()->point(1), (Vec2{150, 170}));
  EXPECT_EQ(rec.shapesWithColor(smoke).size(), 2u);  // a puff per worker

  // The switch plate with its lever up (on) or down (off).
  struct Probe : Building {
    using Building::Building;
    using Building::drawSwitch;
  } probe(h.game(), kPlot, 1);
  rec.clear();
  probe.drawSwitch(true, false);
  probe.drawSwitch(false, false);
  const auto quads = rec.shapesOf(Primitive::Quads);
  ASSERT_EQ(quads.size(), 4u);
  EXPECT_EQ(quads[0]->point(0), (Vec2{184, 126}));
  EXPECT_EQ(quads[1]->point(2), (Vec2{196, 136}));
  EXPECT_EQ(quads[1]->vertices[0].color, (Rgba{0, 0, 0, 1}));
  EXPECT_EQ(quads[3]->point(0), (Vec2{184, 136}));
  EXPECT_EQ(quads[3]->vertices[0].color, (Rgba{0.5f, 0.5f, 0.5f, 1}));
}

}  // namespace
