#include "buildings/WorkBuilding.h"

#include <cmath>

#include "agents/Peep.h"
#include "app/FrameClock.h"
#include "draw/Animation.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/StillPicture.h"
#include "draw/Text.h"
#include "game/Game.h"
#include "tuning/Tuning.h"
#include "world/Maths.h"
#include "world/MoneyPiece.h"

namespace {

constexpr Color3 kBarBackground{0.7f, 0.7f, 0.7f};
constexpr Color3 kPayoutBar{0.1f, 0.1f, 0.1f};
constexpr Color3 kWallOutline{0.5f, 0.5f, 0.5f};
constexpr Color3 kWallFill{0.75f, 0.75f, 0.75f};

void drawSmoke(int, float x, float y) {
  fillCircle(x, y, 4.0f);
}

}  // namespace

WorkBuilding::WorkBuilding(Game& g, const Rect& area, int rooms, int places)
    : OccupiedBuilding(g, area, rooms, places, kMaxWorkers, Peep::kRested) {
  for (float& timer : workTimers) timer = -1.0f;
}

WorldObject* WorkBuilding::clone() {
  return new WorkBuilding(*owner, footprint, roomCount, capacity);
}

float WorkBuilding::workRate() const {
  return static_cast<float>(maths::pow(static_cast<double>(fill()), 0.7) * 0.0025);
}

void WorkBuilding::affect(Peep& agent) {
  // Only the state number counts: a hunting creep is rested enough.
  if (!admit(agent)) return;
  entryTime = FrameClock::seconds();
  for (float& timer : workTimers) {
    if (timer < 0.0f) {
      timer = 0.0f;
      break;
    }
  }
}

void WorkBuilding::update() {
  const float rate = workRate();
  for (float& timer : workTimers) {
    if (timer >= 0.0f) timer += rate;
  }
  for (float& timer : workTimers) {
    if (timer >= 1.0f) {
      letOut(1, Peep::kTired);
      timer = -1.0f;
    }
  }
  payoutProgress += rate;
  if (payoutProgress >= 1.0f) {
    payoutProgress = 0.0f;
    const Vec2 c = centre();
    spawnMoney(*owner, kWorkBuildingPayout, kWorkBuildingPayout * 0.25f, c.x, c.y);
  }
  setDoorsOpen(!inactive && occupants < capacity);
}

float WorkBuilding::roomInset() {
  return Building::roomInset() - 6.0f * pulse(0.0f, 0.4f) * fill();
}

void WorkBuilding::draw() {
  const float k = roomInset();
  // Two chimneys on room 0, growing taller while the rooms swell.
  const bool hasChimneys = roomCount > 0;
  Rect chimney1;
  Rect chimney2;
  if (hasChimneys) {
    const Rect& r0 = rooms[0];
    const float w0 = r0.maxX - r0.minX;
    const float h0 = r0.maxY - r0.minY;
    const float ground = r0.minY + 0.2f * h0;
    const float top = ground - (2.0f * std::fabs(k) + 0.6f * h0);
    const float x1 = r0.minX + 0.4f * w0;
    const float x2 = r0.minX + 0.8f * w0;
    chimney1 = {x1, x1 + 0.2f * w0, top, ground};
    chimney2 = {x2, x2 + 0.2f * w0, top, ground};
  }
  setLineWidth(2.0f);
  {
    StillPicture body(bodyKey(k), bodyBounds());
    if (body.needsDrawing()) {
      drawRooms(kWallOutline, kWallFill, k);
      if (hasChimneys) {
        setColor(kWallFill);
        fillRect(chimney1);
        fillRect(chimney2);
        setColor(kWallOutline);
        outlineRect(chimney1);
        outlineRect(chimney2);
      }
    }
  }
  setLineWidth(1.0f);
  drawDoors(occupants > 0);

  if (!inactive) {
    drawProgressBar(0, kBarBackground, kBlue, 0.0f, fill());
    if (payoutProgress > 0.0f || occupants > 0)
      drawProgressBar(1, kBarBackground, kPayoutBar, 0.0f, payoutProgress);
  }

  if (occupants > 0) {
    selectFont(2);
    setColor(0.25f, 0.25f, 0.25f);
    // One puff per worker from the top of the first chimney.
    if (hasChimneys) drawRisingPuffs(occupants, chimney1.maxX, chimney1.minY, 0.4f, drawSmoke);
  }
}
