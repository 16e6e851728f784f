#pragma once

#include "world/Geometry.h"

class Game;
class Peep;

// What the sleep and the work building share: a count of peeps inside
// against a capacity, a pull that weakens as the building fills, and the
// debug label. A capacity of 0 or below means a building that is always
// full, so nothing here divides by it.

// Capacities below 0 become 0; above maximum, maximum.
int clampCapacity(int capacity, int maximum);
// occupants / capacity, 0 without places.
float fillOf(int occupants, int capacity);
// Radius of the pull: most of the play area while empty, none when full.
float freeRadiusOf(const Game& game, int occupants, int capacity);
// The pull for an agent at distance d from the centre: the radius when the
// agent is of the wanted kind, else 0; the strength goes to the out-value.
float attractionOf(float radius, float d, int occupants, int capacity, bool wanted, float& strength);
// Takes the agent in when it has the wanted state (only the number counts,
// so creeps of that number pass too), a place is free and it stands on the
// footprint: counts it and marks it for deletion. True when it was taken.
bool admitAgent(Peep& agent, int wantedState, const Rect& footprint, int& occupants, int capacity);
// "occupants / capacity" in red at the centre, with the pull's circle.
void drawOccupancyLabel(Vec2 centre, float radius, int occupants, int capacity);
