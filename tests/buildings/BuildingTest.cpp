#include <gtest/gtest.h>

#include "agents/Peep.h"
#include "app/FrameClock.h"
#include "buildings/Building.h"
#include "buildings/SleepBuilding.h"
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

TEST(Building, ShapeQueriesFollowTheBuilding) {
  HeadlessGame h;
  Building b(h.game(), kPlot, 1);
  // Near a door: on its outward stub, or just inside the wall.
  EXPECT_EQ(b.slotAt(150, 37), &b.doors[0]);
  EXPECT_EQ(b.slotAt(158, 48), &b.doors[0]);
  EXPECT_EQ(b.slotAt(150, 58), &b.doors[0]);
  EXPECT_EQ(b.slotAt(205, 100), &b.doors[3]);
  EXPECT_EQ(b.slotAt(150, 36.5f), nullptr);
  EXPECT_EQ(b.slotAt(160, 50), nullptr);
  EXPECT_TRUE(b.containsPoint(100, 150));  // room edges are inside
  EXPECT_FALSE(b.containsPoint(99.9f, 150));

  b.moveBy(10, -5);
  EXPECT_TRUE(equals(b.rooms[0], 110, 210, 45, 145));
  EXPECT_EQ(b.doors[0].end1, (Vec2{154, 45}));
  EXPECT_EQ(b.doors[0].end2, (Vec2{166, 45}));
  EXPECT_EQ(b.doors[0].normal, (Vec2{0, -1}));
  EXPECT_EQ(b.slotAt(160, 32), &b.doors[0]);

  // Without rooms only the switch is hit, edges included.
  Building bare(h.game(), kPlot, 0);
  EXPECT_TRUE(bare.containsPoint(184, 126));
  EXPECT_TRUE(bare.containsPoint(196, 146));
  EXPECT_FALSE(bare.containsPoint(150, 100));
}

TEST(Building, EntryPulseSwellsTheRoomsForAQuarterSecond) {
  HeadlessGame h;
  Building b(h.game(), kPlot, 1);
  EXPECT_EQ(b.roomInset(), 0.0f);
  b.entryTime = FrameClock::seconds();
  EXPECT_EQ(b.roomInset(), -6.0f);
  h.app().advanceMilliseconds(125);
  EXPECT_NEAR(b.roomInset(), -12.0f, 1e-3f);
  h.app().advanceMilliseconds(5);
  EXPECT_NEAR(b.roomInset(), -5.76f, 1e-2f);
  h.app().advanceMilliseconds(120);
  EXPECT_EQ(b.roomInset(), 0.0f);
}

TEST(Building, PullsWantedPeepsInAndPushesOthersOut) {
  HeadlessGame h;
  SleepBuilding s(h.game(), {384, 416, 384, 416}, 3, 2);
  EXPECT_FLOAT_EQ(s.freeRadius(), 500.0f);  // empty: the whole play area

  Peep tired(h.game(), 300, 400, Peep::kTired);
  const Vec2 pull = s.avoidance(tired);
  EXPECT_GT(pull.x, 0.0f);
  EXPECT_NEAR(pull.y, 0.0f, 1e-4f);
  EXPECT_LE(length(pull), 24.0f + 1e-4f);
  EXPECT_EQ(s.separation(tired), (Vec2{}));

  // A rested peep inside is not taken: it is pushed out.
  Peep rested(h.game(), 404, 400, Peep::kRested);
  s.affect(rested);
  EXPECT_EQ(s.occupants, 0);
  EXPECT_FALSE(rested.destroyRequested);
  EXPECT_GT(s.separation(rested).x, 0.0f);

  // Full: no pull, and the tired peep is turned away too.
  s.occupants = 2;
  EXPECT_EQ(s.freeRadius(), 0.0f);
  tired.position = {404, 400};
  EXPECT_GT(s.separation(tired).x, 0.0f);
}

}  // namespace
