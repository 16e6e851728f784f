#pragma once

#include <cstdint>
#include <memory>

#include "doubles/NullDrawBackend.h"
#include "doubles/ScriptedApplication.h"
#include "draw/DrawBackend.h"
#include "draw/Pen.h"
#include "game/Game.h"
#include "tuning/Tuning.h"
#include "world/Random.h"
#include "world/WorldObject.h"

// A whole game without a window: built-in tuning (but no autosave), a seeded generator, a
// scripted application and a backend that swallows the drawing.
class HeadlessGame {
 public:
  explicit HeadlessGame(uint32_t seed = 1) : previousBackend_(installedDrawBackend()) {
    restoreBuiltInTuning();
    kAutosaveMinutes = 0.0f;  // tests that want the autosave turn it on
    setDrawBackend(&null_);
    resetPen();
    seedRandom(seed);
    game_ = std::make_unique<Game>(&app_);
    app_.run(game_.get());
  }
  ~HeadlessGame() {
    game_.reset();
    setDrawBackend(previousBackend_);
    restoreBuiltInTuning();
  }
  HeadlessGame(const HeadlessGame&) = delete;
  HeadlessGame& operator=(const HeadlessGame&) = delete;

  Game& game() { return *game_; }
  ScriptedApplication& app() { return app_; }
  void tick(int count = 1) { app_.tick(count); }

 private:
  DrawBackend* previousBackend_;
  NullDrawBackend null_;
  ScriptedApplication app_;
  std::unique_ptr<Game> game_;
};

// Deletes every object of the game's world, so a test can build the exact
// scene it needs.
void clearWorld(Game& game);
// Counts the active objects of a kind.
template <class T>
int countOf(Game& game) {
  int n = 0;
  for (WorldObject* o = game.worldHead; o; o = o->nextObject()) {
    if (!o->inactive && dynamic_cast<T*>(o)) ++n;
  }
  return n;
}
