#pragma once

#include <vector>

#include "doubles/HeadlessGame.h"

class DrawnPath;
class GuardTower;

// Pieces the benchmark worlds are built from, each drawing from the process
// generator (if at all) in a fixed order, so a seeded build is the same
// every time.

// A full drawn path (256 points) sweeping back and forth as a player would
// scribble it: four passes of 64 points from left to right and back, each
// pass rowStep below the last and wobbling by wobble about its row. With
// columns the sweep runs down the field instead, x and y swapped.
DrawnPath* addSweepingPath(Game& game, float left, float right, float top, float rowStep, float wobble,
                           bool columns = false);

// Towers spaced evenly round an ellipse, starting on its +x end and going
// toward +y.
std::vector<GuardTower*> addTowerEllipse(Game& game, int count, Vec2 centre, float radiusX, float radiusY,
                                         float towerRadius);

// Walls each tower to the next, the last to the first.
void wallRing(Game& game, const std::vector<GuardTower*>& towers);

// Peeps at random points of the play area until the world holds count of
// them (creeps not counted), rested or alternately rested and tired. One by
// one: the agent cap would stop spawnPeeps short, counting creeps and the
// palette's peep.
void fillWithPeeps(Game& game, int count, bool halfTired = true);
