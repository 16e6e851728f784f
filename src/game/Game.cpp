#include "game/Game.h"

#include <vector>

#include "agents/Peep.h"
#include "app/Application.h"
#include "app/GlutMenu.h"
#include "buildings/Building.h"
#include "buildings/MilitaryBuilding.h"
#include "buildings/SleepBuilding.h"
#include "buildings/WorkBuilding.h"
#include "tuning/Tuning.h"
#include "tuning/TuningFile.h"
#include "world/Fountain.h"
#include "world/GroundMarker.h"
#include "world/GuardTower.h"
#include "world/Random.h"
#include "world/Tree.h"
#include "world/WorldObject.h"
#include "world/Zone.h"

Game::Game(Application* app) : GameClient(app) {
  held = nullptr;
  mouseVelocity = {};
  readTuningFile(kTuningFileName);
  fpsShown = framesThisSecond = currentSecond = 0;
  frameCounter = 240;
  zoomLevel = 0;
  worldHead = nullptr;
  agentCount = 0;
  setWindowSize(800.0f, 800.0f);

  const Rect view = viewRect();
  const float cx = view.minX + (view.maxX - view.minX) * 0.5f;
  const float cy = view.minY + (view.maxY - view.minY) * 0.5f;
  zone = new Zone(*this, Rect{cx - 250.0f, cx + 250.0f, cy - 250.0f, cy + 250.0f});

  // The tuning file's bounds keep both counts playable.
  spawnTrees(kStartWithTrees);
  spawnPeeps(kStartWithAgents, Peep::kRested);

  money = kStartWithMoney;
  displayedMoney = 0.0f;
  slow = debugView = drawRoads = false;
  mode = 0;

  buildMenu();

  repelToolActive = false;
  tool = nullptr;
  replaceTool();

  const Vec2 marker = randomPoint(playArea());
  new GroundMarker(*this, marker.x, marker.y, 32.0f);

  setUpPalette();
}

Game::Game(Application* app, Empty) : GameClient(app) {}

void Game::adoptWorld(Game& other) {
  held = tool = nullptr;
  zone = nullptr;
  while (worldHead) delete worldHead;
  // The old world leaves blanked entries behind whose serials may lie above
  // the new world's; the index keeps its order only when started afresh.
  reachIndex.clear();

  worldHead = other.worldHead;
  other.worldHead = nullptr;
  if (worldHead) worldHead->prevLink = &worldHead;
  std::vector<WorldObject*> objects;
  for (WorldObject* o = worldHead; o; o = o->nextObject()) {
    o->owner = this;
    objects.push_back(o);
  }
  // The index takes objects oldest first; other's index is never asked again.
  for (auto o = objects.rbegin(); o != objects.rend(); ++o) reachIndex.add(**o);

  nextSerial = other.nextSerial;
  mode = other.mode;
  frameCounter = other.frameCounter;
  slow = other.slow;
  fast = other.fast && !other.slow;
  debugView = other.debugView;
  drawRoads = other.drawRoads;
  tool = other.tool;
  held = other.held;
  mouseVelocity = other.mouseVelocity;
  money = other.money;
  displayedMoney = other.displayedMoney;
  agentCount += other.agentCount;
  other.agentCount = 0;
  agentSerial = other.agentSerial;
  buildingSerial = other.buildingSerial;
  repelToolActive = other.repelToolActive;
  zoomLevel = other.zoomLevel;
  daylight = other.daylight;
  zone = other.zone;
  for (int i = 0; i < kPaletteSlots; ++i) {
    prototypes[i] = other.prototypes[i];
    costs[i] = other.costs[i];
  }
  other.held = other.tool = nullptr;
  other.zone = nullptr;
  for (WorldObject*& p : other.prototypes) p = nullptr;

  if (app_) app_->setFrameRate(slow ? 5 : 30);
  if (GlutMenu* m = menu()) {
    m->setToggle(kSlowCommand, slow);
    m->setToggle(kFastCommand, fast);
    m->setToggle(kDebugViewCommand, debugView);
    m->setToggle(kDrawRoadsCommand, drawRoads);
  }
}

void Game::setUpPalette() {
  for (WorldObject*& slot : prototypes) slot = nullptr;
  // Each item is made in the cell of the number of items made so far, then
  // takes the first free slot.
  int made = 0;
  auto centre = [this, &made] {
    const Rect r = paletteCell(made);
    return Vec2{r.minX + (r.maxX - r.minX) * 0.5f, r.minY + (r.maxY - r.minY) * 0.5f};
  };
  auto footprint = [this, &made] {
    const Rect r = paletteCell(made);
    return Rect{r.minX + 16.0f, r.maxX - 16.0f, r.minY + 16.0f, r.maxY - 16.0f};
  };
  auto place = [this, &made](WorldObject* object, float cost) {
    placePrototype(object, cost);
    ++made;
  };

  Vec2 c = centre();
  place(new Peep(*this, c.x, c.y, Peep::kRested), kPeepCost);
  place(new SleepBuilding(*this, footprint(), 3, kSleepBuildingCapacity), kSleepBuildingCost);
  place(new WorkBuilding(*this, footprint(), 3, kWorkBuildingCapacity), kWorkBuildingCost);
  place(new CapitalBuilding(*this, footprint(), 3), kCapitalBuildingCost);
  place(new MilitaryBuilding(*this, footprint(), 3), kMilitaryBuildingCost);
  c = centre();
  place(new Tree(*this, c.x, c.y, 8.0f), kTreeCost);
  c = centre();
  place(new Tree(*this, c.x, c.y, 17.6f), kTreeCost);
  c = centre();
  place(new Fountain(*this, c.x, c.y, kFountainRadius), 0.1f);
  c = centre();
  place(new GuardTower(*this, c.x, c.y, kGuardTowerRadius), 0.1f);
}

// The game lives for the whole process; tearing one down (tests, headless
// runs) frees every object it still owns.
Game::~Game() {
  while (worldHead) delete worldHead;
}

Rect Game::playArea() const {
  if (zone) return zone->targetRect;
  return Rect{0.0f, 100.0f, 0.0f, 100.0f};
}
