#include "buildings/Occupancy.h"

#include <cmath>

#include "agents/Peep.h"
#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/Text.h"
#include "game/Game.h"

int clampCapacity(int capacity, int maximum) {
  if (capacity < 0) return 0;
  if (capacity > maximum) return maximum;
  return capacity;
}

float fillOf(int occupants, int capacity) {
  if (capacity <= 0) return 0.0f;
  return static_cast<float>(occupants) / static_cast<float>(capacity);
}

float freeRadiusOf(const Game& game, int occupants, int capacity) {
  const int free = capacity - occupants;
  if (free <= 0) return 0.0f;
  const Rect a = game.playArea();
  const float q = std::sqrt((a.maxY - a.minY) * (a.maxX - a.minX));
  return q * (static_cast<float>(free) / static_cast<float>(capacity)) * 0.7f + q * 0.3f;
}

float attractionOf(float radius, float d, int occupants, int capacity, bool wanted, float& strength) {
  if (radius > 0.0f) {
    // Falls with the cube of the distance and the square of the fill level.
    const float e = 1.0f - fillOf(occupants, capacity);
    const float k = d / radius;
    strength = e * e * (1.0f - k * k * k);
  } else {
    strength = 0.0f;
  }
  return wanted ? radius : 0.0f;
}

void drawOccupancyLabel(Vec2 centre, float radius, int occupants, int capacity) {
  setColor(kRed);
  outlineCircle(centre.x, centre.y, radius);
  drawText(centre.x, centre.y, "%d / %d", occupants, capacity);
}

bool admitAgent(Peep& agent, int wantedState, const Rect& footprint, int& occupants, int capacity) {
  if (agent.state != wantedState) return false;
  if (!(occupants < capacity)) return false;
  if (!contains(footprint, agent.position.x, agent.position.y)) return false;
  // A peep already taken by an overlapping building must not be counted twice.
  if (agent.destroyRequested) return false;
  occupants += 1;
  agent.destroyRequested = true;
  return true;
}
