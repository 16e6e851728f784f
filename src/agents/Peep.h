#pragma once

#include "world/WorldObject.h"

// A walking inhabitant: steered by the objects around it, it carries a state
// that picks its colour and an anger that grows while it is tired.
class Peep : public WorldObject {
 public:
  enum State { kRested = 0, kTired = 1 };

  // No agent walks faster, in units a tick.
  static constexpr float kTopSpeed = 4.0f;

  // Body colour of each state: light blue for rested, light red for tired.
  static const Color3 StateColors[2];

  Peep(Game& owner, float x, float y, int state);
  ~Peep() override;

  WorldObject* clone() override;
  void setSelected(bool on) override { selected = on; }
  bool isSelected() override { return selected; }
  void orderTo(float x, float y) override { setTarget(x, y); }
  void drawDebug() override;
  int drawLayer() override { return 2; }
  void draw() override;
  void drawShadow(float lightX, float lightY) override;
  void update() override;
  Vec2 separation(Peep& agent) override;
  Vec2 alignment(Peep& agent) override;
  Reach reach() override;
  int population() override { return 1; }

  virtual bool isCreep() const { return false; }
  // A creep touched this agent: tired and angrier. True once anger is full.
  virtual bool takeHit();
  virtual bool isHostile() const { return false; }
  virtual Vec2 steering();

  void setState(int s);
  void setTarget(float x, float y);
  Vec2 velocity() const;

  bool selected = false;
  Color3 bodyColor;
  int state;
  float anger = 0.0f;
  Vec2 position;
  float heading = kQuarterTurn;
  float turnRate = 0.0f;
  float speed = 0.0f;
  Vec2 push;
  bool hasTarget = false;
  Vec2 target;

 protected:
  void translate(float dx, float dy) override;
  // Fills the agent triangle of size s, displaced by (ox, oy).
  void fillAgentTriangle(float s, float ox, float oy) const;

 private:
  friend struct CityFields;
  float legPhase_;  // fixed per peep so their legs do not swing in step
};
