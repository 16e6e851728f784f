#include "CrowdedWorld.h"

#include <vector>

#include "WorldParts.h"
#include "agents/Creep.h"
#include "agents/Peep.h"
#include "agents/Road.h"
#include "buildings/MilitaryBuilding.h"
#include "buildings/SleepBuilding.h"
#include "buildings/WorkBuilding.h"
#include "tuning/Tuning.h"
#include "world/DrawnPath.h"
#include "world/Fountain.h"
#include "world/GuardTower.h"
#include "world/Tree.h"

namespace {

constexpr int kPeeps = 96;
constexpr int kCreeps = 30;
constexpr int kTrees = 60;
constexpr int kTowers = 10;
constexpr int kDoorRoads = 20;
constexpr int kPaths = 5;
constexpr uint32_t kSeed = 20240601;

// Four rows of eight palette-sized buildings across the top of the field:
// sleep, then work, then capital and military.
void addBuildings(Game& g, Building* grid[4][8]) {
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 8; ++col) {
      const float x = 170.0f + 56.0f * static_cast<float>(col);
      const float y = 170.0f + 56.0f * static_cast<float>(row);
      const Rect f{x, x + 32.0f, y, y + 32.0f};
      const int index = row * 8 + col;
      Building* b = nullptr;
      if (index < 12) {
        b = new SleepBuilding(g, f, 3, kSleepBuildingCapacity);
      } else if (index < 24) {
        b = new WorkBuilding(g, f, 3, kWorkBuildingCapacity);
      } else if (index < 28) {
        b = new CapitalBuilding(g, f, 3);
      } else {
        auto* m = new MilitaryBuilding(g, f, 3);
        m->armed = true;
        m->soldiers = MilitaryBuilding::kMaxSoldiers;
        b = m;
      }
      grid[row][col] = b;
    }
  }
  // Neighbours in a row joined door to door.
  int roads = 0;
  for (int row = 0; row < 4 && roads < kDoorRoads; ++row) {
    for (int col = 0; col + 1 < 8 && roads < kDoorRoads; ++col) {
      Building* a = grid[row][col];
      Building* b = grid[row][col + 1];
      if (a->doorCount == 0 || b->doorCount == 0) continue;
      new Road(g, a->doors[0], b->doors[b->doorCount - 1]);
      ++roads;
    }
  }
}

// A ring of towers walled to its neighbours, with five walls across it.
void addTowers(Game& g) {
  const std::vector<GuardTower*> towers =
      addTowerEllipse(g, kTowers, Vec2{400.0f, 530.0f}, 110.0f, 90.0f, kGuardTowerRadius);
  wallRing(g, towers);
  for (int i = 0; i < kTowers; i += 2) new Road(g, towers[i]->posts[0], towers[(i + 3) % kTowers]->posts[3]);
}

}  // namespace

void buildCrowdedWorld(Game& g) {
  seedRandom(kSeed);
  Building* grid[4][8];
  addBuildings(g, grid);
  addTowers(g);
  // Zigzag trails across the field.
  for (int k = 0; k < kPaths; ++k)
    addSweepingPath(g, 170.0f, 650.0f, 190.0f + 90.0f * static_cast<float>(k), 9.0f, 20.0f);
  const float fountains[6][2] = {{180, 440}, {620, 440}, {180, 620}, {620, 620}, {290, 630}, {510, 630}};
  for (const auto& f : fountains) new Fountain(g, f[0], f[1], kFountainRadius);
  g.spawnTrees(kTrees - countOf<Tree>(g));
  fillWithPeeps(g, kPeeps);
  const Rect area = g.playArea();
  for (int n = 0; n < kCreeps; ++n) {
    const Vec2 p = randomPoint(area);
    const Vec2 e = pushOutToEdge(area, p.x, p.y);
    new Creep(g, e.x, e.y, 1 << 30);  // they hunt for the whole run
  }
}

CrowdCounts countCrowd(Game& g) {
  CrowdCounts c;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (o->inactive) continue;
    if (auto* creep = dynamic_cast<Creep*>(o)) {
      c.creeps += creep->state == Creep::kHunting;
    } else if (dynamic_cast<Peep*>(o)) {
      ++c.peeps;
    } else if (auto* m = dynamic_cast<MilitaryBuilding*>(o)) {
      ++c.buildings;
      if (m->armed) c.armedSoldiers += m->soldiers;
    } else if (dynamic_cast<Building*>(o)) {
      ++c.buildings;
    } else if (dynamic_cast<Tree*>(o)) {
      ++c.trees;
    } else if (dynamic_cast<Fountain*>(o)) {
      ++c.fountains;
    } else if (dynamic_cast<GuardTower*>(o)) {
      ++c.towers;
    } else if (auto* r = dynamic_cast<Road*>(o)) {
      ++(r->isWall() ? c.walls : c.doorRoads);
    } else if (auto* p = dynamic_cast<DrawnPath*>(o)) {
      ++c.paths;
      c.pathPoints += p->pointCount();
    }
  }
  return c;
}
