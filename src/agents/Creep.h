#pragma once

#include "agents/Peep.h"

// A hostile agent of a creep attack: it wanders the play area, chases the
// nearest peep in reach and makes every peep it touches tired and angrier.
// Once it has driven a peep to full anger, run out of time or been shot, it
// walks out of the play area and is removed there.
class Creep : public Peep {
 public:
  // Creeps reuse the peep state number: 0 hunting, 1 leaving.
  enum State { kHunting = 0, kLeaving = 1 };

  static constexpr float kHuntRadius = 128.0f;
  static constexpr float kHitRadius = 26.0f;
  static constexpr float kExitMargin = 32.0f;

  Creep(Game& owner, float x, float y, int lifetime);

  void drawDebug() override;
  void draw() override;
  void update() override;
  void affect(Peep& agent) override;
  Vec2 avoidance(Peep& agent) override;
  Reach reach() override;
  int population() override { return 0; }

  bool isCreep() const override { return true; }
  bool isHostile() const override { return true; }

  int lifetime;  // ticks left before the creep turns for home; stops at 0
};
