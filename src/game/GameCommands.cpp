#include <string>

#include "app/Application.h"
#include "app/FrameClock.h"
#include "app/GlutMenu.h"
#include "app/InputMapping.h"
#include "app/ViewMove.h"
#include "game/CityFile.h"
#include "game/Game.h"
#include "game/HelpCard.h"
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
  m->addEntry("Load Autosave", kLoadAutosaveCommand, 0, nullptr);
  m->addEntry("Fast", kFastCommand, 0, &fast);
  m->isReady();
}

void Game::onMenuCommand(int id) {
  drawAsked_ = true;
  switch (id) {
    case kCreepAttackCommand:
      if (!paused) creepAttack();
      break;
    case kSlowCommand:  // the menu has flipped the flag already
      setSlow(slow);
      break;
    case kFastCommand:
      setFast(fast);
      break;
    case kSaveTuningCommand: {
      // Said in the window as well: a player who picked the command from
      // the menu is not watching standard error.
      const SaveResult saved = writeTuningFile(kSavedTuningFileName);
      const std::string name = kSavedTuningFileName;
      showOutcome(saved.saved ? "Saved " + name : "Could not save " + name + ": " + saved.problem,
                  !saved.saved);
      if (saved.saved) app_->onFileSaved(kSavedTuningFileName);
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
    case kPauseCommand:   // the menu has flipped the flag already
      helpShown = false;  // the player has taken the pause in hand
      setPaused(paused);
      break;
    case kLoadAutosaveCommand:
      loadAutosave();
      break;
    default:  // the toggles need nothing more; separators send -1
      break;
  }
}

void Game::onKey(int code) {
  drawAsked_ = true;
  if (helpShown) {
    closeHelp();
    return;
  }
  if (code == 'a' && !paused) creepAttack();
  if (code == 'p') setPaused(!paused);
  if (code == 'f') setFast(!fast);
  if (code == 'h' || code == kKeyF1) showHelp();
  // The arrows move the view while zoomed in; Home brings it to the middle.
  if (code == kKeyLeft) app_->moveViewBy(-kViewStep, 0.0f);
  if (code == kKeyRight) app_->moveViewBy(kViewStep, 0.0f);
  if (code == kKeyUp) app_->moveViewBy(0.0f, -kViewStep);
  if (code == kKeyDown) app_->moveViewBy(0.0f, kViewStep);
  if (code == kKeyHome) {
    const Rect field = viewRect();
    app_->setViewCentre((field.minX + field.maxX) * 0.5f, (field.minY + field.maxY) * 0.5f);
  }
}

void Game::showHelp() {
  if (helpShown) return;
  pausedBeforeHelp_ = paused;
  setPaused(true);
  helpShown = true;
  drawAsked_ = true;
}

void Game::closeHelp() {
  if (!helpShown) return;
  helpShown = false;
  setPaused(pausedBeforeHelp_);
  drawAsked_ = true;
}

void Game::showFirstStartHint() {
  hint.show(help::kFirstStartHint, false, FrameClock::realSeconds(), 10.0f);
}

void Game::onClose() {
  // The card's pause is not the city's. A browser's tab that was only
  // hidden comes back to the card.
  const bool card = helpShown;
  closeHelp();
  const std::string failed = autosave.onClose(*this);
  if (!failed.empty()) showOutcome(failed, true);
  if (autosave.takeSaved()) app_->onFileSaved(kAutosaveFileName);
  if (card) showHelp();
}

void Game::setSlow(bool on) {
  slow = on;
  if (on) fast = false;
  if (GlutMenu* m = menu()) {
    m->setToggle(kSlowCommand, slow);
    m->setToggle(kFastCommand, fast);
  }
  app_->setFrameRate(slow ? 5 : 30);
}

void Game::setFast(bool on) {
  fast = on;
  if (on && slow) setSlow(false);
  if (GlutMenu* m = menu()) m->setToggle(kFastCommand, fast);
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
  // Paused, a notice in place of another looks to the frame like no change.
  drawAsked_ = true;
}

void Game::saveCity() {
  const SaveResult saved = saveCityFile(*this, kCityFileName);
  const std::string name = kCityFileName;
  showOutcome(saved.saved ? "Saved " + name : "Could not save " + name + ": " + saved.problem, !saved.saved);
  if (saved.saved) app_->onFileSaved(kCityFileName);
}

void Game::loadCity() {
  loadCityFrom(kCityFileName, kCityFileName);
}

void Game::loadAutosave() {
  loadCityFrom(kAutosaveFileName, kAutosaveFileName);
}

void Game::loadCityFrom(const std::string& path, const std::string& name) {
  std::string problem;
  const bool loaded = loadCityFile(*this, path, problem);
  showOutcome(loaded ? "Loaded " + name : "Could not load " + name + ": " + problem, !loaded);
  drawAsked_ = true;
}
