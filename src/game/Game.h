#pragma once

#include <cstdint>
#include <string>

#include "app/GameClient.h"
#include "game/HudNotice.h"
#include "game/ReachIndex.h"
#include "world/Geometry.h"

class Peep;
class Zone;

// The one running game: the application's client, owner of the world list,
// the money, the build palette and the input mode.
class Game : public GameClient {
 public:
  static constexpr int kPaletteSlots = 16;
  static constexpr int kMaxAgents = 96;
  // The frame counter stops here, a million years of play away: no count
  // of the game ever wraps.
  static constexpr int64_t kLatestFrame = int64_t{1} << 50;

  // Menu command ids.
  static constexpr int kCreepAttackCommand = 0;
  static constexpr int kDrawRoadsCommand = 1;
  static constexpr int kSlowCommand = 2;
  static constexpr int kDebugViewCommand = 3;
  static constexpr int kSaveTuningCommand = 4;
  static constexpr int kReloadTuningCommand = 5;
  static constexpr int kSaveCityCommand = 6;
  static constexpr int kLoadCityCommand = 7;
  static constexpr int kPauseCommand = 8;

  explicit Game(Application* app);
  // A game without a world, menu or palette, for a loaded city to be built
  // in before it replaces a running one (see adoptWorld).
  struct Empty {};
  Game(Application* app, Empty);
  ~Game() override;

  // --- client operations ----------------------------------------------------
  void onMenuCommand(int id) override;
  void onMouseDown(float x, float y) override;
  void onMouseUp(float x, float y) override;
  void onKey(int code) override;
  void onFrame() override;
  void onDraw() override;
  void onMouseMove(float dx, float dy) override;
  void onWheel(float) override {}  // the tick reads the wheel itself
  bool onReserved(int, int) override { return true; }
  int peepCount() override;
  Anchor* anchorAt(float x, float y, const Anchor* like) override;

  // --- world services -------------------------------------------------------
  Rect playArea() const;
  Vec2 separationSum(Peep& agent);
  Vec2 avoidanceSum(Peep& agent, bool drawTerms = false);
  Vec2 alignmentSum(Peep& agent);
  void affectAll(Peep& agent);
  WorldObject* objectAt(float x, float y);
  WorldObject* nearestPathObject(float x, float y, Vec2& point, float& distance, Vec2& direction);
  int selectedCount();
  // The peeps of the city: those in play, in buildings and under arms. Play
  // keeps it at kMaxAgents at most.
  int headCount();
  void orderSelected(float x, float y);
  void deselectAll();
  void spawnTrees(int count);
  void spawnPeeps(int count, int state);
  void spawnCreeps(int count, int lifetime);
  // max(3, peepCount() / 4) creeps that hunt for 300 ticks.
  void creepAttack();

  // --- frame ----------------------------------------------------------------
  struct MoneyBar {
    Rect bar;
    Rect fill;
    float swell = 0.0f;
  };
  MoneyBar moneyBarGeometry() const;
  Vec2 moneyBarTarget() const;
  Color3 backgroundColor() const;
  Color3 shadowColor() const;
  Vec2 lightPoint();

  // --- palette --------------------------------------------------------------
  Rect paletteCell(int slot) const;
  int paletteHit(float x, float y) const;
  // True when the point is on a palette item, bought or not.
  bool buy(float x, float y);
  // Destroys the current tool and makes the one the Shift state asks for.
  void replaceTool();

  // --- pause and the saved city ---------------------------------------------
  // While paused nothing ticks or moves and the game's clock stands still.
  void setPaused(bool on);
  // Writes the city to the city file of the working directory; the outcome
  // shows under the field.
  void saveCity();
  // Replaces the city with the one in the city file; a refused file leaves
  // the city as it was, and the reason shows under the field.
  void loadCity();
  // Takes over every object, link and value of other (a game made Empty
  // and filled by the city reader), dropping its own world; other is left
  // empty. The frame rate follows the Slow toggle.
  void adoptWorld(Game& other);

  WorldObject* worldHead = nullptr;
  // Numbers every object the game makes, so that no two share a still picture.
  uint64_t nextSerial = 1;
  // Every object joins it when built and leaves when destroyed.
  ReachIndex reachIndex;

  int fpsShown = 0;
  int framesThisSecond = 0;
  int currentSecond = 0;
  int mode = 0;
  int64_t frameCounter = 240;
  bool slow = false;
  bool debugView = false;
  bool drawRoads = false;
  bool paused = false;
  WorldObject* tool = nullptr;
  WorldObject* held = nullptr;
  Vec2 mouseVelocity;
  float money = 0.0f;
  float displayedMoney = 0.0f;
  int agentCount = 0;
  uint64_t agentSerial = 0;     // hands each agent its own leg rhythm
  uint64_t buildingSerial = 0;  // and each building its own puff rhythm
  bool repelToolActive = false;
  int zoomLevel = 0;
  float daylight = 0.0f;
  Zone* zone = nullptr;
  WorldObject* prototypes[kPaletteSlots] = {};
  float costs[kPaletteSlots] = {};
  HudNotice notice;  // how the last save or load went

 private:
  void buildMenu();
  void setUpPalette();
  void placePrototype(WorldObject* object, float cost);
  WorldObject* newDrawnPath();
  void newRoad(Anchor& a, Anchor& b);
  void stepZoom();
  void updateWorld();
  void drawWorld();
  void drawOutsideVeil();
  void drawMoneyBar();
  void drawPalette(int hovered);
  void drawProbePeep();
  void drawRoadPreview();
  void drawHudText();
  void drawAnchorHint();
  void drawPausedText();
  void showOutcome(const std::string& text, bool problem);
};
