#pragma once

#include "CrowdedWorld.h"

// The two worlds the game is held to keep smooth, each built onto the start
// world from a fixed seed, so every run ticks and draws the same world.

// The start world as a thousand start trees make it, with the agent cap's
// 96 peeps.
void buildThousandTreeWorld(Game& game);

// A busy walled town filling the play area: 20 guard towers on a square
// joined by walls, inside them 200 buildings (80 sleep, 80 work, 10 capital
// and 30 military, 15 of them armed with two soldiers) on a grid of 15 by 15
// round a tree-filled square, 300 trees in all (on the street corners, in
// the square and the start world's), 10 full drawn paths sweeping along the
// streets, and 96 peeps out and about waiting for the beds and workplaces,
// all taken, to come free.
void buildBigCity(Game& game);

// Whether a world holds what the builder promised (countCrowd counts it).
bool isThousandTreeWorld(Game& game);
bool isBigCity(Game& game);
