#include <gtest/gtest.h>

#include "buildings/Building.h"
#include "support/HeadlessGame.h"

namespace {

const Rect kPlot{100, 200, 50, 150};

TEST(Building, DoorsSwingWithoutRestartingAndReverseFromWhereTheyAre) {
  HeadlessGame h;
  Building b(h.game(), kPlot, 1);
  EXPECT_EQ(b.openness(), 0.0f);
  b.setDoorsOpen(true);
  h.app().advanceMilliseconds(250);
  EXPECT_NEAR(b.openness(), 0.5f, 1e-4f);
  b.setDoorsOpen(true);  // asked again every tick: the movement goes on
  h.app().advanceMilliseconds(251);
  EXPECT_EQ(b.openness(), 1.0f);
  b.setDoorsOpen(false);
  h.app().advanceMilliseconds(1000);

  // A quarter of the way open, then closing: no jump, and the full half second.
  b.setDoorsOpen(true);
  h.app().advanceMilliseconds(125);
  const float mid = b.openness();
  EXPECT_NEAR(mid, 0.15625f, 1e-4f);
  b.setDoorsOpen(false);
  EXPECT_NEAR(b.openness(), mid, 1e-6f);
  h.app().advanceMilliseconds(250);
  EXPECT_NEAR(b.openness(), mid / 2, 1e-4f);
  h.app().advanceMilliseconds(240);
  EXPECT_GT(b.openness(), 0.0f);
  h.app().advanceMilliseconds(20);
  EXPECT_EQ(b.openness(), 0.0f);
}

TEST(Building, DoorsAreFoundNearbyAndMoveWithTheBuilding) {
  HeadlessGame h;
  Building b(h.game(), kPlot, 1);
  // On the door's outward stub, or just inside the wall.
  EXPECT_EQ(b.slotAt(150, 37), &b.doors[0]);
  EXPECT_EQ(b.slotAt(158, 48), &b.doors[0]);
  EXPECT_EQ(b.slotAt(150, 58), &b.doors[0]);
  EXPECT_EQ(b.slotAt(205, 100), &b.doors[3]);
  EXPECT_EQ(b.slotAt(150, 36.5f), nullptr);
  EXPECT_EQ(b.slotAt(160, 50), nullptr);

  b.moveBy(10, -5);
  EXPECT_TRUE(equals(b.rooms[0], 110, 210, 45, 145));
  EXPECT_EQ(b.doors[0].end1, (Vec2{154, 45}));
  EXPECT_EQ(b.doors[0].normal, (Vec2{0, -1}));
  EXPECT_EQ(b.slotAt(160, 32), &b.doors[0]);

  Building bare(h.game(), kPlot, 0);  // without rooms only the switch is hit
  EXPECT_TRUE(bare.containsPoint(196, 146));
  EXPECT_FALSE(bare.containsPoint(150, 100));
}

}  // namespace
