#include <string>

#include "app/Application.h"
#include "app/FrameClock.h"
#include "app/GlutMenu.h"
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
  m->isReady();
}

void Game::onMenuCommand(int id) {
  switch (id) {
    case kCreepAttackCommand:
      creepAttack();
      break;
    case kSlowCommand:
      app_->setFrameRate(slow ? 5 : 30);
      break;
    case kSaveTuningCommand: {
      // Said in the window as well: a player who picked the command from
      // the menu is not watching standard error.
      const SaveResult saved = writeTuningFile(kSavedTuningFileName);
      const std::string name = kSavedTuningFileName;
      notice.show(saved.saved ? "Saved " + name : "Could not save " + name + ": " + saved.problem,
                  !saved.saved, FrameClock::seconds());
      break;
    }
    case kReloadTuningCommand:
      readTuningFile(kTuningFileName);
      break;
    default:  // the toggles need nothing more; separators send -1
      break;
  }
}

void Game::onKey(int code) {
  if (code == 'a') creepAttack();
}
