#pragma once

#include "buildings/Door.h"
#include "world/Geometry.h"

// The random shape of a building: a cluster of overlapping rooms inside the
// footprint, a door on each outer side of the cluster and a small switch in
// the footprint's max-x, max-y corner.

constexpr int kMaxRooms = 8;
constexpr int kMaxDoors = 4;

// 12 wide and 20 high, 4 inside the footprint's max-x and max-y edges.
Rect switchRectOf(const Rect& footprint);

// Fills rooms[0 .. n) for a requested count (clamped to 0..8) and returns
// the count used. Draws from the process generator: for each room a point
// (two draws), then one draw for the width and one for the height.
int generateRooms(const Rect& footprint, int requested, Rect rooms[kMaxRooms]);

// One door per side of the cluster (min y, max y, min x, max x), on the room
// that reaches furthest that way; the lowest index wins ties. Returns the
// number of doors made: 4, or 0 without rooms.
int generateDoors(const Rect rooms[], int roomCount, Door doors[kMaxDoors]);
