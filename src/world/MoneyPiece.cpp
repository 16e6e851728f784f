#include "world/MoneyPiece.h"

#include <cmath>

#include "app/FrameClock.h"
#include "draw/Animation.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "game/Game.h"

namespace {
// Far more than any payment needs; the bar is full at 1.0 anyway.
constexpr float kMaxPieces = 1024.0f;
}  // namespace

MoneyPiece::MoneyPiece(Game& g, float v, float x, float y, int index)
    : WorldObject(g), value(v), position{x, y}, origin{x, y} {
  startTime = FrameClock::seconds() + static_cast<float>(index) * kStagger;
}

void MoneyPiece::draw() {
  if (!(FrameClock::seconds() > startTime)) return;
  setColor(kGreen);
  fillCircle(position.x, position.y, 12.0f);
}

void MoneyPiece::update() {
  if (FrameClock::seconds() <= startTime) return;
  // Read afresh every tick: the end of the bar moves as money comes in.
  const Vec2 target = owner->moneyBarTarget();
  const float t = rampIn(startTime, kFlightTime);
  const float s = 3.0f * t * t - 2.0f * t * t * t;
  position = origin + scaled(target - origin, s);
  if (s > 0.9f) {
    Game& g = *owner;
    g.money = std::fmin(g.money + value, 1.0f);
    destroyRequested = true;
  }
}

void spawnMoney(Game& game, float total, float unit, float x, float y) {
  if (!(total > 0.0f)) return;
  const float pieces = total / unit;
  if (!(unit > 0.0f) || !(pieces < kMaxPieces)) {
    new MoneyPiece(game, total, x, y, 0);
    return;
  }
  const int n = static_cast<int>(pieces);
  for (int i = 0; i < n; ++i) new MoneyPiece(game, unit, x, y, i);
  const float rest = std::fmod(total, unit);
  if (rest > 0.0f) new MoneyPiece(game, rest, x, y, n);
}
