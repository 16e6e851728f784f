#include "buildings/Building.h"

#include "agents/Peep.h"
#include "app/FrameClock.h"
#include "draw/Animation.h"
#include "draw/StillPicture.h"
#include "game/Game.h"
#include "world/DiscObjects.h"
#include "world/Random.h"

namespace {

constexpr float kEntryPulse = 0.25f;  // seconds an entry makes the rooms swell
constexpr float kPullGain = 32.0f;
constexpr float kMaxPull = 24.0f;

}  // namespace

Building::Building(Game& g, const Rect& area, int requestedRooms) : WorldObject(g), footprint(area) {
  entryTime = FrameClock::seconds() - kEntryPulse;
  shapeSeed = processRandom().state();
  roomCount = generateRooms(footprint, requestedRooms, rooms);
  doorCount = generateDoors(rooms, roomCount, doors);
  doorSwing.openFrom = doorSwing.openTo = 0.0f;
  // Every building gets its own puff rhythm; the order of construction
  // spreads them over the 30 offsets.
  puffPhase_ = static_cast<float>(g.buildingSerial++ % 30) * (1.0f / 30.0f) * 4.0f;
}

WorldObject* Building::clone() {
  return new Building(*owner, footprint, roomCount);
}

void Building::translate(float dx, float dy) {
  const Vec2 d{dx, dy};
  footprint = offsetBy(footprint, d);
  for (int i = 0; i < roomCount; ++i) rooms[i] = offsetBy(rooms[i], d);
  for (int i = 0; i < doorCount; ++i) doors[i].moveBy(dx, dy);
}

int Building::roomAt(float x, float y) const {
  for (int i = 0; i < roomCount; ++i) {
    if (contains(rooms[i], x, y)) return i;
  }
  return -1;
}

bool Building::containsPoint(float x, float y) {
  return roomAt(x, y) >= 0 || contains(switchRect(), x, y);
}

Anchor* Building::slotAt(float x, float y) {
  const Vec2 p{x, y};
  for (int i = 0; i < doorCount; ++i) {
    Door& door = doors[i];
    // A short stub reaching out of the door, thickened by three quarters of
    // the door's length, so a press just outside the wall finds the door.
    const float c = 0.75f * door.span;
    const Vec2 m = door.midpoint();
    const Vec2 outer = m + scaled(door.normal, c * 0.5f);
    if (distanceToSegment(p, outer, m) < c) return &door;
  }
  return nullptr;
}

void Building::drawShadow(float lightX, float lightY) {
  ShadowPicture shadow(serial(), bodyKey(0.0f).state, footprint, lightX, lightY);
  if (!shadow.needsDrawing()) return;
  for (int i = 0; i < roomCount; ++i) rectShadow(rooms[i], shadow.light().x, shadow.light().y);
}

PictureKey Building::bodyKey(float inset) const {
  // The rooms were laid out once and move with the footprint.
  return {serial(), PictureKind::Colour,
          pictureDigest({footprint.minX, footprint.maxX, footprint.minY, footprint.maxY, inset,
                         static_cast<float>(roomCount)})};
}

Rect Building::bodyBounds() const {
  // Swollen rooms reach 12 beyond the footprint with their outline; roofs,
  // chimneys, domes and the pennant rise up to half its height and 30 more.
  const float h = footprintHeight();
  return Rect{footprint.minX - 16.0f, footprint.maxX + 16.0f, footprint.minY - 0.5f * h - 30.0f,
              footprint.maxY + 16.0f};
}

Vec2 Building::centre() const {
  return {footprint.minX + (footprint.maxX - footprint.minX) * 0.5f,
          footprint.minY + (footprint.maxY - footprint.minY) * 0.5f};
}

Vec2 Building::separation(Peep& agent) {
  if (accepts(agent)) return {};
  return discSeparation(centre(), footprintWidth() * 0.5f, agent);
}

Reach Building::reach() {
  Reach r = Reach::nowhere();
  const Vec2 c = centre();
  r.separation = discSeparationReach(c, footprintWidth() * 0.5f);
  r.avoidance = discAvoidanceReach(c, footprintWidth() * 0.5f);
  Rect hit = switchRect();
  for (int i = 0; i < roomCount; ++i) hit = unite(hit, rooms[i]);
  r.point = reachAround(hit, 0.0f);
  for (int i = 0; i < doorCount; ++i) {
    // The stub slotAt measures from, and as far round it.
    const Door& door = doors[i];
    const float c = 0.75f * door.span;
    const Vec2 m = door.midpoint();
    const Vec2 outer = m + scaled(door.normal, c * 0.5f);
    r.slot = unite(r.slot, unite(reachAround(m, c), reachAround(outer, c)));
  }
  return r;
}

Vec2 Building::avoidance(Peep& agent) {
  Vec2 v;
  float strength = 0.0f;
  const float radius = attraction(agent, strength);
  if (radius > 0.0f) {
    const Vec2 c = centre();
    const Vec2 toCentre = c - agent.position;
    const float d = length(toCentre);
    if (d < radius && d > 0.0f) {
      const float h = 1.0f - d / radius;
      Vec2 pull = scaled(toCentre, 1.0f / d);
      scaleBy(pull, h * h * h * strength * kPullGain);
      clampLength(pull, kMaxPull);
      v += pull;
    }
  }
  if (accepts(agent)) return v;
  return v + discAvoidance(centre(), footprintWidth() * 0.5f, agent);
}

float Building::roomInset() {
  const float p = rampIn(entryTime, kEntryPulse);
  float x = 2.0f * p;
  if (x > 1.0f) x = 1.0f - x;
  return (x + 1.0f) * -6.0f;
}

void Building::releasePeeps(int count, int state) {
  for (int i = 0; i < count; ++i) {
    const Vec2 p = randomPoint(footprint);
    new Peep(*owner, p.x, p.y, state);
  }
}

WorldObject* CapitalBuilding::clone() {
  return new CapitalBuilding(*owner, footprint, roomCount);
}
