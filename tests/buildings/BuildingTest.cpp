#include <gtest/gtest.h>

#include "agents/EmptyCity.h"
#include "buildings/SleepBuilding.h"
#include "doubles/RecordingDrawBackend.h"
#include "draw/Pen.h"

namespace {

const Rect kPlot{100, 200, 50, 150};

using BuildingTest = EmptyCity;

TEST_F(BuildingTest, DoorsReverseFromWhereTheyAre) {
  Building b(g, kPlot, 1);
  b.setDoorsOpen(true);
  h.app().advanceMilliseconds(125);
  const float mid = b.openness();
  b.setDoorsOpen(false);
  EXPECT_NEAR(b.openness(), mid, 1e-6f);
}

TEST_F(BuildingTest, DoorsAreFoundNearby) {
  Building b(g, kPlot, 1);
  // On the door's outward stub, or just inside the wall.
  EXPECT_EQ(b.slotAt(150, 37), &b.doors[0]);
  EXPECT_EQ(b.slotAt(150, 58), &b.doors[0]);
  EXPECT_EQ(b.slotAt(150, 36.5f), nullptr);
  EXPECT_EQ(b.slotAt(160, 50), nullptr);

  Building bare(g, kPlot, 0);  // without rooms only the switch is hit
  EXPECT_TRUE(bare.containsPoint(196, 146));
  EXPECT_FALSE(bare.containsPoint(150, 100));
}

TEST_F(BuildingTest, DoorsSwingOutAndGlowAtNight) {
  SleepBuilding s(g, kPlot, 1, 2);
  const Door& top = s.doors[0];
  const Color3 lamp{1, 1, 0.5f};
  ScopedDrawRecording rec;
  s.draw();
  EXPECT_TRUE(rec.shapesWithColor(lamp).empty());  // nobody in: no light

  s.doorSwing = {0.0f, 1.0f, -10.0f, 0.5f};  // fully open
  s.occupants = 1;
  g.daylight = 0.5f;  // dusk
  rec.clear();
  s.draw();
  // The top door's leaf hangs from end1 and has swung out, above the wall.
  int leaves = 0;
  for (const RecordedShape* l : rec.shapesOf(Primitive::Lines)) {
    leaves += l->point(0) == top.end1 && l->point(1).y < top.end1.y - 1;
  }
  EXPECT_EQ(leaves, 1);
  const auto lights = rec.shapesWithColor(lamp);
  ASSERT_EQ(lights.size(), 4u);
  EXPECT_EQ(lights[0]->vertices[0].color.a, 0.25f);  // half of full night's
  EXPECT_EQ(pen().width, 1.0f);
  EXPECT_EQ(pen().alpha, 1.0f);
}

}  // namespace
