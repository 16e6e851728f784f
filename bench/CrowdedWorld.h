#pragma once

#include "doubles/HeadlessGame.h"

// The start world filled up to the busiest city the game is sized for: 96
// peeps and 30 creeps, 12 sleep, 12 work, 4 capital and 4 armed military
// buildings with two soldiers each, 60 trees, 6 fountains, 10 guard towers
// joined by 15 walls, 20 roads from door to door and 5 drawn paths of 256
// points. Built from the same seed every time, so every run ticks the same
// world.
void buildCrowdedWorld(Game& game);

// Counts of what buildCrowdedWorld made, for a check that it is all there.
struct CrowdCounts {
  int peeps = 0;
  int creeps = 0;
  int buildings = 0;
  int armedSoldiers = 0;
  int trees = 0;
  int fountains = 0;
  int towers = 0;
  int walls = 0;
  int doorRoads = 0;
  int paths = 0;
  int pathPoints = 0;
};
CrowdCounts countCrowd(Game& game);
