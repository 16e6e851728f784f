#include "app/RunGame.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/AboutText.h"
#include "app/WindowScale.h"
#include "game/CityFile.h"
#include "game/Game.h"
#include "platform/AboutBox.h"
#include "platform/DesktopScreen.h"
#include "platform/GlutApplication.h"
#include "platform/GlutInit.h"
#include "platform/RequireDisplay.h"
#include "world/Random.h"

namespace {

// Once, before the first window: both windows are drawn at this scale.
void chooseScale(std::optional<double> asked) {
  const DesktopScreen screen = readDesktopScreen();
  ScaleSources sources;
  sources.commandLine = asked;
  sources.environment = std::getenv("VERLOMBA_SCALE");
  sources.xftDpi = screen.hasXftDpi ? screen.xftDpi.c_str() : nullptr;
  sources.screenWidth = screen.width;
  sources.screenHeight = screen.height;
  const ScaleChoice choice = chooseWindowScale(sources);
  for (const std::string& warning : choice.warnings) std::fprintf(stderr, "%s\n", warning.c_str());
  setWindowScale(choice.scale);
}

}  // namespace

int runGame(void (*prepare)(Game&), std::optional<double> scale, const std::string& cityFile) {
  if (!requireDisplay()) return 1;
  ensureGlutInitialized();
  releaseDisplayCheck();
  chooseScale(scale);
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
