#include "buildings/OccupiedBuilding.h"

#include <cmath>

#include "agents/Peep.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/Text.h"
#include "game/Game.h"

namespace {

int clampCapacity(int capacity, int maximum) {
  if (capacity < 0) return 0;
  if (capacity > maximum) return maximum;
  return capacity;
}

}  // namespace

OccupiedBuilding::OccupiedBuilding(Game& g, const Rect& area, int rooms, int places, int maximum,
                                   int wantedState)
    : Building(g, area, rooms), capacity(clampCapacity(places, maximum)), wantedState_(wantedState) {}

float OccupiedBuilding::fill() const {
  if (capacity <= 0) return 0.0f;
  return static_cast<float>(occupants) / static_cast<float>(capacity);
}

float OccupiedBuilding::freeRadius() const {
  const int free = capacity - occupants;
  if (free <= 0) return 0.0f;
  const Rect a = owner->playArea();
  const float q = std::sqrt((a.maxY - a.minY) * (a.maxX - a.minX));
  return q * (static_cast<float>(free) / static_cast<float>(capacity)) * 0.7f + q * 0.3f;
}

bool OccupiedBuilding::accepts(Peep& agent) {
  return occupants < capacity && agent.state == wantedState_;
}

float OccupiedBuilding::attraction(Peep& agent, float& strength) {
  const float radius = freeRadius();
  if (radius > 0.0f) {
    // Falls with the cube of the distance and the square of the fill level.
    const float e = 1.0f - fill();
    const float k = distanceTo(centre(), agent.position.x, agent.position.y) / radius;
    strength = e * e * (1.0f - k * k * k);
  } else {
    strength = 0.0f;
  }
  return agent.state == wantedState_ ? radius : 0.0f;
}

bool OccupiedBuilding::admit(Peep& agent) {
  if (agent.state != wantedState_) return false;
  if (!(occupants < capacity)) return false;
  if (!contains(footprint, agent.position.x, agent.position.y)) return false;
  // A peep already taken by an overlapping building must not be counted twice.
  if (agent.destroyRequested) return false;
  occupants += 1;
  agent.destroyRequested = true;
  return true;
}

void OccupiedBuilding::letOut(int count, int state) {
  releasePeeps(count, state);
  occupants -= count;
  reachChanged();  // the freed places pull again
}

Reach OccupiedBuilding::reach() {
  Reach r = Building::reach();
  r.affect = reachAround(footprint, 0.0f);
  if (occupants < capacity) r.avoidance = kEverywhere;
  return r;
}

void OccupiedBuilding::drawDebug() {
  if (inactive) return;
  const Vec2 c = centre();
  setColor(kRed);
  outlineCircle(c.x, c.y, freeRadius());
  drawText(c.x, c.y, "%d / %d", occupants, capacity);
}
