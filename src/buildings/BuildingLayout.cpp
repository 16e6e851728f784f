#include "buildings/BuildingLayout.h"

#include "world/Random.h"

namespace {

constexpr float kMaxDoorLength = 12.0f;

float randomFraction() {
  return static_cast<float>(nextRandom()) * kRandomScale;
}

// Shift that would bring [lo, hi] inside [outerLo, outerHi]; both terms
// apply when the span is wider than the outer one.
float shiftInside(float lo, float hi, float outerLo, float outerHi) {
  float shift = 0.0f;
  if (lo < outerLo) shift = outerLo - lo;
  if (hi > outerHi) shift -= hi - outerHi;
  return shift;
}

float centreX(const Rect& r) {
  return r.minX + (r.maxX - r.minX) * 0.5f;
}
float centreY(const Rect& r) {
  return r.minY + (r.maxY - r.minY) * 0.5f;
}

// Index of the room whose edge reaches furthest; ties keep the lower index.
template <typename Better>
int outermost(const Rect rooms[], int count, Better better) {
  int best = 0;
  for (int i = 1; i < count; ++i) {
    if (better(rooms[i], rooms[best])) best = i;
  }
  return best;
}

void cutDoor(Door& door, Vec2 centre, Vec2 normal, float length) {
  if (length >= kMaxDoorLength) length = kMaxDoorLength;
  // The wall's tangent: the normal turned a quarter turn clockwise.
  const Vec2 u{normal.y, -normal.x};
  const float half = length / 2.0f;
  door.normal = normal;
  door.span = length;
  door.end1 = {centre.x + u.x * half, centre.y + u.y * half};
  door.end2 = {centre.x - u.x * half, centre.y - u.y * half};
}

}  // namespace

Rect switchRectOf(const Rect& footprint) {
  return {footprint.maxX - 16.0f, footprint.maxX - 4.0f, footprint.maxY - 24.0f, footprint.maxY - 4.0f};
}

int generateRooms(const Rect& footprint, int requested, Rect rooms[kMaxRooms]) {
  int n = requested;
  if (n < 0) n = 0;
  if (n > kMaxRooms) n = kMaxRooms;
  if (n == 1) {
    // The footprint already holds the switch.
    rooms[0] = footprint;
    return n;
  }
  if (n == 0) return n;

  const float w = footprint.maxX - footprint.minX;
  const float h = footprint.maxY - footprint.minY;
  const float w0 = w / 3.0f;
  const float h0 = h / 3.0f;
  const float wSpread = w * 1.1f - w0;
  const float hSpread = h * 1.1f - h0;

  for (int i = 0; i < n; ++i) {
    // Earlier rooms may grow larger; the last one is exactly a third.
    const float t = 1.0f - static_cast<float>(i) / static_cast<float>(n - 1);
    const Vec2 p = randomPoint(footprint);
    const float r1 = randomFraction();
    const float roomW = w0 + r1 * t * wSpread;
    const float r2 = randomFraction();
    const float roomH = h0 + r2 * t * hSpread;
    Rect& room = rooms[i];
    room = {p.x - roomW * 0.5f, p.x + roomW * 0.5f, p.y - roomH * 0.5f, p.y + roomH * 0.5f};
    // Pulled mostly back in: a room that sticks out keeps a fifth of it.
    const float dx = 0.8f * shiftInside(room.minX, room.maxX, footprint.minX, footprint.maxX);
    const float dy = 0.8f * shiftInside(room.minY, room.maxY, footprint.minY, footprint.maxY);
    room = offsetBy(room, {dx, dy});
  }

  // Room 0 reaches over the switch and a margin of 4 round it.
  Rect& first = rooms[0];
  include(first, footprint.maxX - 20.0f, footprint.maxY - 28.0f);
  include(first, footprint.maxX, footprint.maxY);
  return n;
}

int generateDoors(const Rect rooms[], int roomCount, Door doors[kMaxDoors]) {
  if (roomCount <= 0) return 0;
  if (roomCount > kMaxRooms) roomCount = kMaxRooms;

  const Rect& top =
      rooms[outermost(rooms, roomCount, [](const Rect& a, const Rect& b) { return a.minY < b.minY; })];
  const Rect& bottom =
      rooms[outermost(rooms, roomCount, [](const Rect& a, const Rect& b) { return a.maxY > b.maxY; })];
  const Rect& left =
      rooms[outermost(rooms, roomCount, [](const Rect& a, const Rect& b) { return a.minX < b.minX; })];
  const Rect& right =
      rooms[outermost(rooms, roomCount, [](const Rect& a, const Rect& b) { return a.maxX > b.maxX; })];

  cutDoor(doors[0], {centreX(top), top.minY}, {0.0f, -1.0f}, (top.maxX - top.minX) - 2.0f);
  cutDoor(doors[1], {centreX(bottom), bottom.maxY}, {0.0f, 1.0f}, (bottom.maxX - bottom.minX) - 2.0f);
  cutDoor(doors[2], {left.minX, centreY(left)}, {-1.0f, 0.0f}, (left.maxY - left.minY) - 2.0f);
  cutDoor(doors[3], {right.maxX, centreY(right)}, {1.0f, 0.0f}, (right.maxY - right.minY) - 2.0f);
  return 4;
}
