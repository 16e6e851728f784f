#include "app/RunGame.h"

#include <ctime>

#include "app/AboutText.h"
#include "game/Game.h"
#include "platform/AboutBox.h"
#include "platform/GlutApplication.h"
#include "platform/GlutInit.h"
#include "platform/RequireDisplay.h"
#include "world/Random.h"

int runGame(void (*prepare)(Game&)) {
  if (!requireDisplay()) return 1;
  ensureGlutInitialized();
  releaseDisplayCheck();
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
    app->run(game);  // returns only if the main loop ever does
    delete game;
    delete app;
  }
  return 0;
}
