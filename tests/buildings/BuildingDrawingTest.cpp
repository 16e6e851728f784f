#include <gtest/gtest.h>

#include <cmath>

#include "buildings/SleepBuilding.h"
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
  EXPECT_EQ(lines[0]->vertices[0].lineWidth, 2.0f);
  const Vec2 tip = lines[1]->point(1);  // swung 115 degrees from the wall, outwards
  EXPECT_NEAR(std::atan2(tip.y - top.end1.y, tip.x - top.end1.x), -2.0071287f, 1e-4f);
  const auto lights = rec.shapesWithColor(kLamp);
  ASSERT_EQ(lights.size(), 4u);
  EXPECT_EQ(lights[0]->vertices[0].color.a, 0.5f);
  EXPECT_EQ(lights[0]->point(2), (Vec2{top.end2.x, top.end2.y - 12}));
  EXPECT_EQ(pen().width, 1.0f);
  EXPECT_EQ(pen().alpha, 1.0f);
}

}  // namespace
