#pragma once

#include "world/WorldObject.h"

// A bit of income on its way to the money bar. It waits its turn, flies
// from where it was earned to the end of the bar's fill, and adds its value
// to the Game's money just before it arrives.
class MoneyPiece : public WorldObject {
 public:
  static constexpr float kStagger = 0.2f;     // seconds between pieces of one payment
  static constexpr float kFlightTime = 1.2f;  // seconds

  // Piece number index of a payment leaves index * 0.2 s from now.
  MoneyPiece(Game& owner, float value, float x, float y, int index);

  int drawLayer() override { return 4; }
  void draw() override;
  void update() override;
  Reach reach() override { return Reach::nowhere(); }

  float value;
  float startTime;
  Vec2 position;
  Vec2 origin;
};

// Pays total as pieces of unit, plus one piece for any remainder, sent off
// one after another from (x, y). A unit that cannot split the total (0,
// negative, NaN, or so small that the pieces would swamp the world) sends
// the whole total as one piece instead.
void spawnMoney(Game& game, float total, float unit, float x, float y);
