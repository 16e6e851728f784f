#include "game/Game.h"

#include "agents/Peep.h"
#include "app/Application.h"
#include "tuning/Tuning.h"
#include "tuning/TuningFile.h"
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

  // The tree count comes from the tuning file: a huge value must not stall
  // start-up, so it is bounded.
  spawnTrees(kStartWithTrees < kMaxStartTrees ? kStartWithTrees : kMaxStartTrees);
  spawnPeeps(kStartWithAgents, Peep::kRested);

  money = kStartWithMoney;
  displayedMoney = 0.0f;
  slow = debugView = drawRoads = false;
  mode = 0;

  buildMenu();

  repelToolActive = false;
  tool = nullptr;
  replaceTool();

  setUpPalette();
}

void Game::setUpPalette() {
  for (WorldObject*& slot : prototypes) slot = nullptr;
  int made = 0;
  auto centre = [this](int cell) {
    const Rect r = paletteCell(cell);
    return Vec2{r.minX + (r.maxX - r.minX) * 0.5f, r.minY + (r.maxY - r.minY) * 0.5f};
  };
  {
    const Vec2 c = centre(made);
    placePrototype(new Peep(*this, c.x, c.y, Peep::kRested), kPeepCost);
    ++made;
  }
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

