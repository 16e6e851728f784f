#include <cmath>

#include "agents/Anchor.h"
#include "agents/Peep.h"
#include "app/FrameClock.h"
#include "draw/Animation.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/Text.h"
#include "game/Game.h"
#include "world/Maths.h"
#include "world/WorldObject.h"

namespace {
const Color3 kGrey09{0.9f, 0.9f, 0.9f};
const Color3 kGrey05{0.5f, 0.5f, 0.5f};

// The night colour the field is tinted with.
Color3 nightColor() {
  return mix(kBlack, kBlue, 0.7f);
}
}  // namespace

Color3 Game::backgroundColor() const {
  const float k = 0.9f + 0.1f * daylight;
  return mix(nightColor(), kWhite, k);
}

Color3 Game::shadowColor() const {
  const float s = 0.05f * (1.0f - (1.0f - daylight) * (1.0f - daylight));
  return mix(backgroundColor(), kBlack, s);
}

Vec2 Game::lightPoint() {
  const Rect view = viewRect();
  const Vec2 a{view.minX + (view.maxX - view.minX) * 0.8f, view.minY};
  const Vec2 b{view.minX + (view.maxX - view.minX) * 0.2f, view.minY + (view.maxY - view.minY) * 1.0f};
  const float f = static_cast<float>(frameCounter % 960) * (1.0f / 960);
  return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
}

Game::MoneyBar Game::moneyBarGeometry() const {
  MoneyBar m;
  if (money > 0.0f) {
    float r = displayedMoney / money;
    if (r > 1.0f) r = 1.0f;
    m.swell = (1.0f - r) * (1.0f - r);
  }
  const Rect p = playArea();
  const float cx = p.minX + (p.maxX - p.minX) * 0.5f;
  const float halfWidth = ((p.maxX - p.minX) * 0.8f + 16.0f * m.swell) * 0.5f;
  const float height = 24.0f + 4.0f * m.swell;
  const float cy = p.minY - 24.0f;
  m.bar = Rect{cx - halfWidth, cx + halfWidth, cy - height / 2.0f, cy + height / 2.0f};
  m.fill = m.bar;
  m.fill.maxX = m.bar.minX + (m.bar.maxX - m.bar.minX) * displayedMoney;
  return m;
}

Vec2 Game::moneyBarTarget() const {
  const Rect fill = moneyBarGeometry().fill;
  return {fill.maxX, fill.minY + (fill.maxY - fill.minY) * 0.5f};
}

void Game::onDraw() {
  drawWorld();
  if (debugView) {
    for (WorldObject* o = worldHead; o; o = o->nextObject()) {
      if (!o->inactive) o->drawDebug();
    }
    const Vec2 mouse = mouseWorldPosition();
    Vec2 point;
    float distance = 0.0f;
    Vec2 direction;
    if (nearestPathObject(mouse.x, mouse.y, point, distance, direction)) {
      setColor(kRed);
      fillCircle(point.x, point.y, 3.0f);
    }
  }
  drawOutsideVeil();
  drawMoneyBar();

  int hovered = -1;
  if (mode == 0) {
    const Vec2 mouse = mouseWorldPosition();
    hovered = paletteHit(mouse.x, mouse.y);
  }
  if (hovered >= 0 && costs[hovered] > money) hovered = -1;
  drawPalette(hovered);

  if (debugView) drawProbePeep();
  if (mode == 4) drawRoadPreview();
  drawHudText();
  drawAnchorHint();
  if (paused) drawPausedText();
}

void Game::drawWorld() {
  const Color3 night = nightColor();
  setColor(backgroundColor());
  fillRect(viewRect());
  setColor(shadowColor());
  const Vec2 light = lightPoint();
  for (WorldObject* o = worldHead; o; o = o->nextObject()) o->drawShadow(light.x, light.y);
  for (int layer = 0; layer <= 4; ++layer) {
    for (WorldObject* o = worldHead; o; o = o->nextObject()) {
      if (!o->inactive && o->drawLayer() == layer) o->draw();
    }
  }
  setAlpha((1.0f - daylight) * 0.5f);
  setColor(night);
  const Rect p = playArea();
  fillRect(Rect{p.minX + 1.0f, p.maxX - 1.0f, p.minY + 1.0f, p.maxY - 1.0f});
  setAlpha(1.0f);
}

void Game::drawOutsideVeil() {
  const Rect v = viewRect();
  const Rect p = playArea();
  setAlpha(0.5f);
  setColor(kWhite);
  fillRect(Rect{p.minX, p.maxX, p.maxY, v.maxY});
  fillRect(Rect{p.minX, p.maxX, v.minY, p.minY});
  fillRect(Rect{v.minX, p.minX, v.minY, v.maxY});
  fillRect(Rect{p.maxX, v.maxX, v.minY, v.maxY});
  setAlpha(1.0f);
}

void Game::drawMoneyBar() {
  const MoneyBar m = moneyBarGeometry();
  const float barWidth = m.bar.maxX - m.bar.minX;
  setColor(mix(kGreen, kGrey09, 0.7f - 0.3f * m.swell));
  fillRect(m.fill);

  setColor(kGreen);
  setAlpha(0.2f);
  for (int k = 1; k <= 2; ++k) {
    float e = displayedMoney - 0.025f * pulse(0.0f, static_cast<float>(k));
    if (e > displayedMoney) e = displayedMoney;
    if (e < 0.0f) e = 0.0f;
    fillRect(Rect{m.bar.minX, m.bar.minX + e * barWidth, m.bar.minY, m.bar.maxY});
  }
  setAlpha(1.0f);

  setColor(mix(kGrey09, kBlue, 0.1f + 0.5f * m.swell));
  outlineRect(m.bar);
}

void Game::drawPalette(int hovered) {
  for (int i = 0; i < kPaletteSlots; ++i) {
    WorldObject* prototype = prototypes[i];
    if (!prototype) continue;
    const Rect cell = paletteCell(i);
    const bool affordable = costs[i] < money;

    setColor(mix(kBlue, kWhite, 0.85f));
    outlineRect(cell);
    if (i == hovered) {
      setAlpha(0.05f);
      setColor(kBlue);
      fillRect(cell);
      setAlpha(1.0f);
    }
    setAlpha(0.1f);
    setColor(kGrey09);
    prototype->drawShadow(cell.minX + (cell.maxX - cell.minX) * 0.5f,
                          cell.minY + (cell.maxY - cell.minY) * 0.5f);
    setAlpha(1.0f);
    prototype->draw();

    if (!affordable) {
      setAlpha(0.65f);
      setColor(kGrey09);
      fillRect(cell);
    } else if (i == hovered) {
      setLineWidth(1.0f);
      setColor(kLightBlue);
      outlineRect(cell);
      const MoneyBar m = moneyBarGeometry();
      const float barWidth = m.bar.maxX - m.bar.minX;
      const Rect block{m.fill.maxX - barWidth * costs[i], m.fill.maxX, m.fill.minY + 1.0f,
                       m.fill.maxY - 1.0f};
      setAlpha(0.6f);
      setColor(kWhite);
      fillRect(block);
      const float middle = block.minY + (block.maxY - block.minY) * 0.5f;
      setColor(kRed);
      setAlpha(0.95f);
      drawLine(block.minX, middle, block.maxX, middle);
      setLineWidth(1.0f);
    }
    setAlpha(1.0f);
  }
}

void Game::drawProbePeep() {
  const Vec2 mouse = mouseWorldPosition();
  // A peep of no one's: its legs keep one rhythm, whatever the frames drawn.
  const unsigned serial = agentSerial;
  Peep* probe = new Peep(*this, mouse.x, mouse.y, Peep::kRested);
  agentSerial = serial;
  if (mouseVelocity.x != 0.0f || mouseVelocity.y != 0.0f) {
    probe->heading = static_cast<float>(maths::atan2(mouseVelocity.y, mouseVelocity.x));
  }
  probe->bodyColor = kBlue;
  probe->draw();
  probe->drawDebug();
  delete probe;
}

void Game::drawHudText() {
  selectFont(2);
  setColor(kGrey05);
  const int s = static_cast<int>(FrameClock::realSeconds());
  if (s == currentSecond) {
    framesThisSecond += 1;
  } else {
    fpsShown = framesThisSecond;
    framesThisSecond = 0;
    currentSecond = s;
  }
  drawText(7.0f, 16.0f, "%d fps", fpsShown);
  setColor(kBlack);
  const Rect p = playArea();
  drawText(p.minX, p.maxY + 16.0f, "Population: %d", peepCount());
  notice.draw(p.maxX, p.maxY + 16.0f, FrameClock::realSeconds());
}

void Game::drawPausedText() {
  const Rect p = playArea();
  const float x = p.minX + (p.maxX - p.minX) * 0.5f;
  const float y = p.minY + (p.maxY - p.minY) * 0.5f;
  selectFont(3);
  setColor(kBlack);
  drawText(x - textWidth("Paused") * 0.5f, y, "Paused");
}

void Game::drawAnchorHint() {
  if (isButtonDown()) return;
  const Vec2 mouse = mouseWorldPosition();
  if (objectAt(mouse.x, mouse.y)) return;
  Anchor* a = anchorAt(mouse.x, mouse.y, nullptr);
  if (!a) return;
  float radius = a->width() * 0.5f;
  if (radius < 7.0f) radius = 7.0f;
  setColor(kRed);
  const Vec2 pos = a->position();
  const Vec2 dir = a->direction();
  drawArc(pos.x, pos.y, radius, static_cast<float>(maths::atan2(dir.y, dir.x)) - kQuarterTurn, kPi);
}

Rect Game::paletteCell(int slot) const {
  const Rect p = playArea();
  const float top = p.minY + 72.0f * static_cast<float>(slot);
  return Rect{p.minX - 80.0f, p.minX - 16.0f, top, top + 64.0f};
}

int Game::paletteHit(float x, float y) const {
  for (int i = 0; i < kPaletteSlots; ++i) {
    if (prototypes[i] && contains(paletteCell(i), x, y)) return i;
  }
  return -1;
}
