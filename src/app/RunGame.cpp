#include "app/RunGame.h"

#include <ctime>

#include "app/AboutBox.h"
#include "app/AboutText.h"
#include "app/GlutApplication.h"
#include "app/RequireDisplay.h"
#include "game/CityFile.h"
#include "game/Game.h"
#include "world/Random.h"

int runGame(void (*prepare)(Game&), const std::string& cityFile) {
  if (!requireDisplay()) return 1;
  showAboutBox(about::load());

  GlutApplication* app = new GlutApplication();
  setGlobalApplication(app);
  if (!app->init()) {
    setGlobalApplication(nullptr);
    delete app;
    app = nullptr;
  }

  // The seed for the whole run, taken once the about box has closed.
  seedRandom(static_cast<uint32_t>(std::clock()));

  if (app) {
    app->setCredit("Verlomba, by the Verlomba developers");
    app->setTitle("Verlomba City");
    // The game lives until the process ends through the window's close.
    Game* game = new Game(app);
    if (prepare) prepare(*game);
    std::string problem;
    if (!cityFile.empty() && !loadCityFile(*game, cityFile, problem)) {
      delete game;
      delete app;
      return 1;
    }
    app->run(game);  // returns only if the main loop ever does
    delete game;
    delete app;
  }
  return 0;
}
