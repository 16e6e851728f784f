#include "app/GameStart.h"

#include <ctime>
#include <filesystem>

#include "app/Application.h"
#include "game/Autosave.h"
#include "game/CityFile.h"
#include "game/Game.h"
#include "tuning/TuningFile.h"
#include "world/Random.h"

Game* startGame(Application& app, void (*prepare)(Game&), const std::string& cityFile, std::string& problem) {
  // The processor time the about box took varies from run to run.
  seedRandom(static_cast<uint32_t>(std::clock()));
  app.setCredit("Verlomba, by the Verlomba developers");
  app.setTitle("Verlomba City");
  // Nothing of a game played here before: the player may be new to it.
  std::error_code error;
  bool played = false;
  for (const char* name : {kCityFileName, kAutosaveFileName, kSavedTuningFileName}) {
    played = played || std::filesystem::exists(std::filesystem::symlink_status(name, error));
  }
  Game* game = new Game(&app);
  if (!played) game->showFirstStartHint();
  if (prepare) prepare(*game);
  if (!cityFile.empty() && !loadCityFile(*game, cityFile, problem)) {
    delete game;
    return nullptr;
  }
  return game;
}
