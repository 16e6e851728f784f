// The pieces every building picture is made of, and the pictures of the
// plain and the capital building.

#include <cmath>

#include "buildings/Building.h"
#include "draw/Animation.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/StillPicture.h"
#include "game/Game.h"
#include "world/Maths.h"

namespace {

constexpr Color3 kDoorGrey{0.5f, 0.5f, 0.5f};
constexpr Color3 kLeverGrey{0.2f, 0.2f, 0.2f};
constexpr float kLeafSwing = kPi * 115 / 180;

void fillQuad(Vec2 a, Vec2 b, Vec2 c, Vec2 d) {
  beginPolygon();
  vertex(a.x, a.y);
  vertex(b.x, b.y);
  vertex(c.x, c.y);
  vertex(d.x, d.y);
  endShape();
}

}  // namespace

void Building::drawRooms(const Color3& outline, const Color3& fill, float inset) {
  for (int i = 0; i < roomCount; ++i) {
    const Rect& room = rooms[i];
    const Rect r{room.minX + inset, room.maxX - inset, room.minY + inset, room.maxY - inset};
    setColor(fill);
    fillRect(r);
    setColor(outline);
    outlineRect(r);
  }
}

void Building::drawDoors(bool light) {
  const float o = openness();
  setColor(o > 0.1f ? kDoorGrey : kBlack);
  setLineWidth(3.0f - o);
  for (int i = 0; i < doorCount; ++i)
    drawLine(doors[i].end1.x, doors[i].end1.y, doors[i].end2.x, doors[i].end2.y);

  if (o != 0.0f) {
    // Closed, the leaf lies on the door line; open, it has swung outwards.
    setColor(kBlack);
    for (int i = 0; i < doorCount; ++i) {
      const Door& door = doors[i];
      const float angle =
          static_cast<float>(maths::atan2(door.normal.y, door.normal.x)) + kQuarterTurn - o * kLeafSwing;
      Vec2 tip;
      setPolarAround(tip, door.end1.x, door.end1.y, angle, door.span);
      drawLine(door.end1.x, door.end1.y, tip.x, tip.y);
    }
  }

  if (light) {
    // A square of lamplight in front of each door, seen only at night.
    setColor(mix(kWhite, kYellow, 0.5f));
    setAlpha((1.0f - owner->daylight) * 0.5f);
    for (int i = 0; i < doorCount; ++i) {
      const Door& door = doors[i];
      const Vec2 out = scaled(door.normal, door.span);
      fillQuad(door.end1, door.end2, door.end2 + out, door.end1 + out);
    }
    setAlpha(1.0f);
  }
  setLineWidth(1.0f);
}

void Building::drawSwitch(bool on, bool highlight) {
  const Rect s = switchRect();
  setColor(kWhite);
  fillRect(s);
  const Rect lever =
      on ? Rect{s.minX, s.maxX, s.minY, s.maxY - 10.0f} : Rect{s.minX, s.maxX, s.minY + 10.0f, s.maxY};
  if (highlight) {
    setColor(mix(kLeverGrey, kGreen, 0.8f * pulse(0.0f, 1.0f)));
  } else {
    const float g = on ? 0.0f : 0.5f;
    setColor(g, g, g);
  }
  fillRect(lever);
  setColor(highlight ? kDoorGrey : kBlack);
  outlineRect(s);
  outlineRect(lever);
}

void Building::drawProgressBar(int row, const Color3& background, const Color3& bar, float a, float b) {
  setLineWidth(3.0f);
  const float y = footprint.maxY + static_cast<float>(row + 1) * 10.0f;
  const float w = footprintWidth();
  setColor(background);
  drawLine(footprint.minX, y, footprint.maxX, y);
  setColor(bar);
  drawLine(footprint.minX + w * a, y, footprint.minX + w * b, y);
  setLineWidth(1.0f);
}

void Building::drawRisingPuffs(int count, float x0, float y0, float lift, PuffDrawer drawItem) {
  const float w = footprintWidth();
  const float h = footprintHeight();
  for (int i = 0; i < count; ++i) {
    const float f = static_cast<float>(i) / static_cast<float>(count);
    const float rise = phase(5.0f * f, 5.0f);
    const float q = pulse(4.0f * f + puffPhase_, 4.0f);
    const float x = x0 + (smoothStep(q) - 0.5f) * w * 0.5f;
    const float y = y0 - (rise * h + lift * h);
    setAlpha((1.0f - rise) * 0.8f);
    drawItem(i, x, y);
  }
  setAlpha(1.0f);
}

void Building::draw() {
  const float inset = roomInset();
  {
    StillPicture body(bodyKey(inset), bodyBounds());
    if (body.needsDrawing()) {
      setLineWidth(2.0f);
      drawRooms(kGreen, mix(kGreen, kBlack, 0.5f), inset);
    }
  }
  setLineWidth(1.0f);
  drawDoors(true);
}

void CapitalBuilding::draw() {
  {
    StillPicture body(bodyKey(0.0f), bodyBounds());
    if (body.needsDrawing()) {
      setLineWidth(2.0f);
      const Color3 c1 = mix(kWhite, kOrange, 0.7f);
      const Color3 c2 = mix(kWhite, kOrange, 0.25f);
      // The capital stands still when people come; it has no entry swell.
      drawRooms(c1, c2, 0.0f);

      const float w = footprintWidth();
      const float h = footprintHeight();
      const Vec2 m = centre();
      const Vec2 top{m.x, footprint.minY - 0.1f * h};
      // Largest dome first, the smallest (radius 5) on top.
      for (int i = 2; i >= 0; --i) {
        const float f = static_cast<float>(i) / 3.0f;
        const Vec2 c = top + scaled(m - top, f);
        const float radius = f * (0.5f * w - 5.0f) + 5.0f;
        setColor(c2);
        fillCircle(c.x, c.y, radius);
        setColor(c1);
        outlineCircle(c.x, c.y, radius);
      }

      const Vec2 pennant[3] = {
          {top.x, top.y - 10.0f}, {top.x + 12.0f, top.y - 10.0f}, {top.x, top.y - 18.0f}};
      setColor(c2);
      beginPolygon();
      vertices(pennant, 3);
      endShape();
      setColor(c1);
      beginLineLoop();
      vertices(pennant, 3);
      endShape();
      drawLine(top.x, top.y, top.x, top.y - 18.0f);
    }
  }
  setLineWidth(1.0f);
  drawDoors(false);
}
