#pragma once

#include <cstdint>
#include <functional>

#include "replay/Replay.h"
#include "world/Geometry.h"
#include "world/Random.h"

// A restless player for soak runs: before each tick it may look at the world
// and start one action (buy from the palette, drag or Alt-copy an object,
// lay a road between doors and posts, draw a path with "Draw Roads" on,
// sweep and order peeps with the command tool, shove with Shift, arm a
// military building, zoom, toggle Slow and Debug View, save and reload the
// tuning file, call a creep attack, pause for a while). The inputs go into the run's script,
// so any run can be written out and replayed exactly.
//
// It draws from its own generator, never the game's. Actions that leave a
// lasting object (purchases, copies, roads, paths) spend a build budget, so
// once the city is built the world stops growing and whatever still grows is
// the game's doing.
class RandomInput {
 public:
  struct Options {
    int buildBudget = 60;
    int meanGap = 30;  // ticks between two actions, on average
    // Peeps leave for good when angry, so below this population the player
    // buys more outside the budget: a soak of an empty town proves little.
    int keepPopulation = 30;
  };

  explicit RandomInput(uint32_t seed);
  RandomInput(uint32_t seed, const Options& options);

  // Schedules the next action on the run when the previous one is over.
  void plan(ReplayRun& run);
  int budgetLeft() const { return budget_; }

 private:
  enum Action {
    kBuy,
    kMoveObject,
    kRoad,
    kPath,
    kSweep,
    kOrder,
    kShove,
    kSwitch,
    kWheel,
    kToggle,
    kSaveTuning,
    kReloadTuning,
    kCreepAttack,
    kPause,
    kActionCount
  };

  // Schedules the action starting at tick t; returns the ticks it spans.
  int start(Action action, ReplayRun& run, int t);
  int buy(int t, int slot);
  int moveObject(ReplayRun& run, int t);
  int road(ReplayRun& run, int t);
  int path(ReplayRun& run, int t);
  int sweep(ReplayRun& run, int t);
  int shove(ReplayRun& run, int t);
  int flipSwitch(ReplayRun& run, int t);
  int reloadTuning(int t);
  // Press at from on tick t + 1, then glide through the waypoints in steps
  // ticks each, and release; returns the tick after the release.
  int drag(int t, Vec2 from, const Vec2* waypoints, int count, int steps);

  bool onPalette(Vec2 p);
  // A press at p that cannot leave a lasting object behind: not a purchase,
  // and not a road (a press on open ground at a door or post starts one, and
  // even a click there makes one from the anchor to itself).
  bool harmless(Vec2 p);
  void emit(int tick, ReplayEvent::Kind kind, float x = 0.0f, float y = 0.0f, int value = 0);
  int between(int lo, int hi);  // inclusive
  float fraction();
  Vec2 pointIn(const Rect& r);
  bool spend();

  RandomGenerator random_;
  Options options_;
  int budget_;
  int nextStart_ = 0;
  ReplayRun* run_ = nullptr;
};

// A script for a soak of the given length: a larger, richer start than the
// built-in tuning, with free peeps (money never reaches 0, as a purchase
// needs more than its price), so that the town stays busy however the dice
// fall.
ReplayScript soakScript(uint32_t seed, int ticks);

// Runs the whole script of the run with the player's actions added;
// afterTick, when given, sees the run after every tick.
void playRandomly(ReplayRun& run, RandomInput& input, const std::function<void(ReplayRun&)>& afterTick = {});
