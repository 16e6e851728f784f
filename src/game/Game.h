#pragma once

#include <cstdint>
#include <string>

#include "app/GameClient.h"
#include "game/Autosave.h"
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
  static constexpr int kLoadAutosaveCommand = 9;
  static constexpr int kFastCommand = 10;
  // Ticks a frame while Fast is on; the picture keeps its 30 frames a second.
  static constexpr int kFastTicks = 3;

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
  // The last word before the window closes: the autosave.
  void onClose() override;
  void onOtherButton() override { closeHelp(); }
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
  // The peeps alive in the city (not the palette's, not the people inside
  // buildings, who went in as peeps and left room for more). Play keeps it
  // at kMaxAgents at most, and so does a city file.
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
  // Slow (5 frames a second) and Fast (kFastTicks ticks a frame) exclude
  // each other: turning one on turns the other off.
  void setSlow(bool on);
  void setFast(bool on);
  // Writes the city to the city file of the working directory; the outcome
  // shows under the field.
  void saveCity();
  // Replaces the city with the one in the city file; a refused file leaves
  // the city as it was, and the reason shows under the field.
  void loadCity();
  // The same from a city file elsewhere, named name in what shows.
  void loadCityFrom(const std::string& path, const std::string& name);
  // The same with the autosave's file.
  void loadAutosave();
  // The card of the mouse actions and keys over the field; the game pauses
  // while it shows, and any key or click closes it.
  void showHelp();
  void closeHelp();
  // The line under the field at the first start in a play directory.
  void showFirstStartHint();
  // How a save or a load went, under the field; red for a problem.
  void showOutcome(const std::string& text, bool problem);
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
  bool fast = false;
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
  HudNotice hint;    // the first start's pointer to the menu and the help
  bool helpShown = false;
  Autosave autosave;

 private:
  void buildMenu();
  void setUpPalette();
  void placePrototype(WorldObject* object, float cost);
  WorldObject* newDrawnPath();
  void newRoad(Anchor& a, Anchor& b);
  void stepZoom();
  // One step of the simulation; the zoom eases once a frame, with the first.
  void tick(bool firstOfFrame);
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
  // What a frame shows beyond the world, which stands still while paused:
  // a paused frame like the last one is neither drawn nor shown again.
  struct Look {
    float zoom = 0.0f;
    Vec2 centre;
    Vec2 mouse;
    bool buttonDown = false;
    bool notices = false;  // the notice or the hint shown
    bool operator==(const Look& o) const {
      return zoom == o.zoom && centre.x == o.centre.x && centre.y == o.centre.y && mouse.x == o.mouse.x &&
             mouse.y == o.mouse.y && buttonDown == o.buttonDown && notices == o.notices;
    }
  };
  Look look();
  bool needsDrawing();

  bool pausedBeforeHelp_ = false;
  bool releaseClosedHelp_ = false;  // the release of the press that closed the card is not the game's
  bool drawAsked_ = true;           // a command or key may have changed what a frame shows
  Look lastDrawn_;
};
