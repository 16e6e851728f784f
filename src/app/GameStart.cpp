#include "app/GameStart.h"

#include <ctime>

#include "app/Application.h"
#include "game/CityFile.h"
#include "game/Game.h"
#include "world/Random.h"

Game* startGame(Application& app, void (*prepare)(Game&), const std::string& cityFile, std::string& problem) {
  // The processor time the about box took varies from run to run.
  seedRandom(static_cast<uint32_t>(std::clock()));
  app.setCredit("Verlomba, by the Verlomba developers");
  app.setTitle("Verlomba City");
  Game* game = new Game(&app);
  if (prepare) prepare(*game);
  if (!cityFile.empty() && !loadCityFile(*game, cityFile, problem)) {
    delete game;
    return nullptr;
  }
  return game;
}
