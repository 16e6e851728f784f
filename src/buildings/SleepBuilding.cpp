#include "buildings/SleepBuilding.h"

#include <climits>

#include "agents/Peep.h"
#include "app/FrameClock.h"
#include "draw/Animation.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/StillPicture.h"
#include "draw/Text.h"
#include "game/Game.h"

namespace {

constexpr Color3 kBarBackground{0.7f, 0.7f, 0.7f};
constexpr Color3 kOccupancyBar{0.2f, 0.2f, 0.2f};

void drawSnore(int item, float x, float y) {
  drawText(x, y, item % 2 == 0 ? "z" : "Z");
}

}  // namespace

SleepBuilding::SleepBuilding(Game& g, const Rect& area, int rooms, int beds)
    : OccupiedBuilding(g, area, rooms, beds, INT_MAX, Peep::kTired) {}

WorldObject* SleepBuilding::clone() {
  return new SleepBuilding(*owner, footprint, roomCount, capacity);
}

void SleepBuilding::affect(Peep& agent) {
  // Only the state number counts: a leaving creep is tired enough.
  if (admit(agent)) entryTime = FrameClock::seconds();
}

void SleepBuilding::update() {
  if (occupants > 0) {
    restProgress += ((1.0f - owner->daylight) * 0.75f + 0.25f) * 0.01f;
    if (restProgress >= 1.0f) {
      // Everybody wakes together, however late they came in.
      restProgress = 0.0f;
      letOut(occupants, Peep::kRested);
    }
  }
  setDoorsOpen(!inactive && occupants < capacity);
}

float SleepBuilding::roomInset() {
  return Building::roomInset() - 2.0f * pulse(0.0f, 2.0f) * (occupants > 0 ? 1.0f : 0.0f);
}

void SleepBuilding::draw() {
  const float k = roomInset();
  {
    StillPicture body(bodyKey(k), bodyBounds());
    if (body.needsDrawing()) {
      setLineWidth(2.0f);
      const Color3 outline = mix(kWhite, kBlue, 0.5f);
      const Color3 fillColor = mix(kWhite, kBlue, 0.25f);
      drawRooms(outline, fillColor, k);

      if (roomCount > 0) {
        // A chevron roof band over room 0, its ridge above the room.
        const Rect& r0 = rooms[0];
        const float w0 = r0.maxX - r0.minX;
        const float h0 = r0.maxY - r0.minY;
        const Vec2 e1{r0.minX - 0.05f * w0 + k, r0.minY + 0.75f * h0};
        const Vec2 e2{r0.minX + 1.05f * w0 - k, r0.minY + 0.75f * h0};
        const Vec2 q{r0.minX + w0 * 0.5f, r0.minY + 0.5f * h0 - k};
        const Vec2 u{0.0f, -0.75f * h0};
        const Vec2 roof[6] = {e1 + u, q + u, e2 + u, e2, q, e1};
        setColor(fillColor);
        beginPolygon();
        vertices(roof, 6);
        endShape();
        setColor(outline);
        beginLineLoop();
        vertices(roof, 6);
        endShape();
      }
    }
  }
  setLineWidth(1.0f);
  drawDoors(occupants > 0);

  if (!inactive) {
    setColor(kBlack);
    selectFont(2);
    drawProgressBar(0, kBarBackground, kOccupancyBar, 0.0f, fill());
    if (restProgress > 0.0f || occupants > 0) drawProgressBar(1, kBarBackground, kBlue, 0.0f, restProgress);
  }

  if (occupants > 0) {
    setColor(mix(kBlack, kBlue, 0.5f));
    drawRisingPuffs(3, centre().x, footprint.minY, 0.1f, drawSnore);
  }
}
