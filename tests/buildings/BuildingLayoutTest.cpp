#include <gtest/gtest.h>

#include "buildings/BuildingLayout.h"
#include "world/Random.h"

namespace {

const Rect kCell{86, 118, 238, 270};  // a 32 by 32 palette footprint

void expectDoor(const Door& d, Vec2 end1, Vec2 end2, Vec2 normal, float span) {
  EXPECT_TRUE(d.end1 == end1 && d.end2 == end2 && d.normal == normal && d.span == span)
      << d.end1.x << "," << d.end1.y << " " << d.end2.x << "," << d.end2.y << " " << d.span;
}

TEST(BuildingLayout, OneRoomIsTheFootprintAndNoneHasNoDoors) {
  Rect rooms[kMaxRooms];
  Door doors[kMaxDoors];
  const uint32_t before = processRandom().state();
  ASSERT_EQ(generateRooms({100, 200, 50, 150}, 1, rooms), 1);
  EXPECT_EQ(processRandom().state(), before);  // one room draws nothing
  EXPECT_TRUE(equals(rooms[0], 100, 200, 50, 150));
  EXPECT_EQ(generateRooms(kCell, -3, rooms), 0);
  EXPECT_EQ(generateDoors(rooms, 0, doors), 0);
}

TEST(BuildingLayout, DoorsGoOnTheOutermostRoomWithTiesToTheLowerIndex) {
  const Rect rooms[3] = {{0, 10, 5, 20}, {20, 30, 5, 25}, {12, 30, 8, 25}};
  Door doors[kMaxDoors];
  ASSERT_EQ(generateDoors(rooms, 3, doors), 4);
  // A side's length less 1 at each end, capped at 12; the tangent is the
  // normal turned clockwise.
  expectDoor(doors[0], {1, 5}, {9, 5}, {0, -1}, 8);          // min y: rooms 0 and 1 tie
  expectDoor(doors[1], {29, 25}, {21, 25}, {0, 1}, 8);       // max y: rooms 1 and 2 tie
  expectDoor(doors[2], {0, 18.5f}, {0, 6.5f}, {-1, 0}, 12);  // min x: room 0, capped
  expectDoor(doors[3], {30, 9}, {30, 21}, {1, 0}, 12);       // max x: rooms 1 and 2 tie
}

TEST(BuildingLayout, TenRoomsAreEightWithTheSameDraws) {
  Rect eight[kMaxRooms], ten[kMaxRooms];
  seedRandom(7);
  EXPECT_EQ(generateRooms(kCell, 8, eight), 8);
  const uint32_t after = processRandom().state();
  seedRandom(7);
  EXPECT_EQ(generateRooms(kCell, 10, ten), 8);
  EXPECT_EQ(processRandom().state(), after);
  EXPECT_TRUE(equals(ten[7], eight[7].minX, eight[7].maxX, eight[7].minY, eight[7].maxY));
}

}  // namespace
