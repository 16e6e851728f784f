#include <string>

#include "app/Application.h"
#include "app/FrameClock.h"
#include "app/GlutMenu.h"
#include "game/CityFile.h"
#include "game/Game.h"
#include "tuning/TuningFile.h"

// The "Game" pop-up menu and the keyboard: the menu has already flipped a
// toggle's flag when its command arrives here.

void Game::buildMenu() {
  GlutMenu* m = menu();
  if (!m) return;
  m->reset();
  m->addSubMenu("Game");
  m->addEntry("Creep Attack", kCreepAttackCommand, 0, nullptr);
  m->addSeparator();
  m->addEntry("Slow", kSlowCommand, 0, &slow);
  m->addEntry("Debug View", kDebugViewCommand, 0, &debugView);
  m->addEntry("Draw Roads", kDrawRoadsCommand, 0, &drawRoads);
  m->addSeparator();
  m->addEntry("Save Tuning", kSaveTuningCommand, 0, nullptr);
  m->addEntry("Reload Tuning File", kReloadTuningCommand, 0, nullptr);
  m->addEntry("Save City", kSaveCityCommand, 0, nullptr);
  m->addEntry("Load City", kLoadCityCommand, 0, nullptr);
  m->addEntry("Pause", kPauseCommand, 0, &paused);
  m->isReady();
}

void Game::onMenuCommand(int id) {
  switch (id) {
    case kCreepAttackCommand:
      if (!paused) creepAttack();
      break;
    case kSlowCommand:
      app_->setFrameRate(slow ? 5 : 30);
      break;
    case kSaveTuningCommand: {
      // Said in the window as well: a player who picked the command from
      // the menu is not watching standard error.
      const SaveResult saved = writeTuningFile(kSavedTuningFileName);
      const std::string name = kSavedTuningFileName;
      showOutcome(saved.saved ? "Saved " + name : "Could not save " + name + ": " + saved.problem,
                  !saved.saved);
      break;
    }
    case kReloadTuningCommand:
      readTuningFile(kTuningFileName);
      break;
    case kSaveCityCommand:
      saveCity();
      break;
    case kLoadCityCommand:
      loadCity();
      break;
    case kPauseCommand:  // the menu has flipped the flag already
      setPaused(paused);
      break;
    default:  // the toggles need nothing more; separators send -1
      break;
  }
}

void Game::onKey(int code) {
  if (code == 'a' && !paused) creepAttack();
  if (code == 'p') setPaused(!paused);
}

void Game::setPaused(bool on) {
  paused = on;
  if (GlutMenu* m = menu()) m->setToggle(kPauseCommand, on);
  if (!on) {
    FrameClock::release();
    return;
  }
  FrameClock::hold();
  // A drag or a sweep under way ends here without effect; presses wait
  // until the game goes on.
  held = nullptr;
  mode = 0;
}

void Game::showOutcome(const std::string& text, bool problem) {
  // Said in the window as well: a player who picked the command from the
  // menu is not watching standard error. On the real clock, so that it
  // fades while paused.
  notice.show(text, problem, FrameClock::realSeconds());
}

void Game::saveCity() {
  const SaveResult saved = saveCityFile(*this, kCityFileName);
  const std::string name = kCityFileName;
  showOutcome(saved.saved ? "Saved " + name : "Could not save " + name + ": " + saved.problem, !saved.saved);
}

void Game::loadCity() {
  loadCityFrom(kCityFileName, kCityFileName);
}

void Game::loadCityFrom(const std::string& path, const std::string& name) {
  std::string problem;
  const bool loaded = loadCityFile(*this, path, problem);
  showOutcome(loaded ? "Loaded " + name : "Could not load " + name + ": " + problem, !loaded);
}
