#include "BigWorlds.h"

#include <vector>

#include "WorldParts.h"
#include "agents/Peep.h"
#include "buildings/MilitaryBuilding.h"
#include "buildings/SleepBuilding.h"
#include "buildings/WorkBuilding.h"
#include "tuning/Tuning.h"
#include "world/DrawnPath.h"
#include "world/GuardTower.h"
#include "world/Tree.h"

namespace {

constexpr uint32_t kSeed = 20240612;
constexpr int kTrees = 1000;
constexpr int kCityTrees = 300;
constexpr int kPeeps = 96;

// The town grid: 15 by 15 plots of 24 units, 5 apart, the middle 5 by 5
// left open as the square.
constexpr int kPlots = 15;
constexpr float kGridLeft = 180.0f;
constexpr float kPitch = 29.0f;
constexpr float kPlot = 24.0f;
constexpr int kSquareFirst = 5;
constexpr int kSquareLast = 9;

float plotEdge(int i) {
  return kGridLeft + kPitch * static_cast<float>(i);
}

// The street running before plot i (and after the last one for i = 15).
float streetMiddle(int i) {
  return plotEdge(i) - 0.5f * (kPitch - kPlot);
}

bool inSquare(int i) {
  return i >= kSquareFirst && i <= kSquareLast;
}

float randomFraction() {
  return static_cast<float>(nextRandom()) * kRandomScale;
}

// A tree of a random size from smallest to twice that.
Tree* addTree(Game& g, Vec2 p, float smallest) {
  return new Tree(g, p.x, p.y, (randomFraction() + 1.0f) * smallest);
}

// Five towers a side, one on each corner, on a square just inside the play
// area, each walled to the next.
void addTownWall(Game& g) {
  constexpr float kNear = 164.0f;
  constexpr float kFar = 636.0f;
  const Vec2 corners[4] = {{kNear, kNear}, {kFar, kNear}, {kFar, kFar}, {kNear, kFar}};
  std::vector<GuardTower*> towers;
  for (int side = 0; side < 4; ++side) {
    const Vec2 from = corners[side];
    const Vec2 step = scaled(corners[(side + 1) % 4] - from, 0.2f);
    for (int k = 0; k < 5; ++k) {
      const Vec2 p = from + scaled(step, static_cast<float>(k));
      towers.push_back(new GuardTower(g, p.x, p.y, kGuardTowerRadius));
    }
  }
  wallRing(g, towers);
}

// Plot k of the 200 (row by row) gets a kind by its place in every 20:
// 8 sleep, 8 work, a capital and 3 military, every other one armed. The
// town is busy: every bed and workplace is taken, each part way through its
// rest or work, so places come free one by one.
void addBuildings(Game& g) {
  int k = 0;
  int military = 0;
  for (int row = 0; row < kPlots; ++row) {
    for (int col = 0; col < kPlots; ++col) {
      if (inSquare(row) && inSquare(col)) continue;
      const Rect f{plotEdge(col), plotEdge(col) + kPlot, plotEdge(row), plotEdge(row) + kPlot};
      const int kind = k % 20;
      if (kind < 8) {
        auto* b = new SleepBuilding(g, f, 3, kSleepBuildingCapacity);
        b->occupants = b->capacity;
        b->restProgress = randomFraction();
      } else if (kind < 16) {
        auto* b = new WorkBuilding(g, f, 3, kWorkBuildingCapacity);
        b->occupants = b->capacity;
        for (int i = 0; i < b->capacity; ++i) b->workTimers[i] = randomFraction();
        b->payoutProgress = randomFraction();
      } else if (kind == 16) {
        new CapitalBuilding(g, f, 3);
      } else {
        auto* m = new MilitaryBuilding(g, f, 3);
        if (military++ % 2 == 0) {
          m->armed = true;
          m->soldiers = MilitaryBuilding::kMaxSoldiers;
        }
      }
      ++k;
    }
  }
}

// A tree on every street corner but those inside the square, and a
// grove of trees the size of start trees in the square making up the count.
void addCityTrees(Game& g) {
  for (int row = 0; row <= kPlots; ++row) {
    for (int col = 0; col <= kPlots; ++col) {
      const bool insideSquare =
          row > kSquareFirst && row <= kSquareLast && col > kSquareFirst && col <= kSquareLast;
      if (!insideSquare) addTree(g, {streetMiddle(col), streetMiddle(row)}, 8.0f);
    }
  }
  const Rect square{plotEdge(kSquareFirst), plotEdge(kSquareLast) + kPlot, plotEdge(kSquareFirst),
                    plotEdge(kSquareLast) + kPlot};
  for (int n = countOf<Tree>(g); n < kCityTrees; ++n) addTree(g, randomPoint(square), 8.0f);
}

// Five paths sweep along the streets four at a time, five down the avenues.
void addStreetPaths(Game& g) {
  const float left = streetMiddle(0);
  const float right = streetMiddle(kPlots);
  for (int k = 0; k < 10; ++k) {
    const int first = 3 * (k % 5);
    addSweepingPath(g, left, right, streetMiddle(first), kPitch, 0.0f, k >= 5);
  }
}

}  // namespace

void buildThousandTreeWorld(Game& g) {
  seedRandom(kSeed);
  g.spawnTrees(kTrees - countOf<Tree>(g));
  fillWithPeeps(g, kPeeps, false);
}

void buildBigCity(Game& g) {
  seedRandom(kSeed);
  addTownWall(g);
  addBuildings(g);
  addStreetPaths(g);
  addCityTrees(g);
  fillWithPeeps(g, kPeeps);
}

bool isThousandTreeWorld(Game& g) {
  const CrowdCounts c = countCrowd(g);
  return c.trees == kTrees && c.peeps == kPeeps && c.buildings == 0 && c.paths == 0;
}

bool isBigCity(Game& g) {
  const CrowdCounts c = countCrowd(g);
  return c.buildings == 200 && c.armedSoldiers == 30 && c.trees == kCityTrees && c.towers == 20 &&
         c.walls == 20 && c.doorRoads == 0 && c.paths == 10 && c.pathPoints == 10 * DrawnPath::kMaxPoints &&
         c.peeps == kPeeps && c.creeps == 0;
}
