// The desktop's entry: the game in a GLUT window on an X display.
#include <cstdio>
#include <cstdlib>

#include "app/AboutText.h"
#include "app/GameStart.h"
#include "app/RunGame.h"
#include "app/WindowScale.h"
#include "game/Game.h"
#include "platform/glut/AboutBox.h"
#include "platform/glut/DesktopScreen.h"
#include "platform/glut/GlutApplication.h"
#include "platform/glut/GlutInit.h"
#include "platform/glut/RequireDisplay.h"

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
    return 0;
  }
  // The game lives until the process ends through the window's close.
  std::string problem;
  Game* game = startGame(*app, prepare, cityFile, problem);
  if (!game) {
    delete app;
    return 1;
  }
  app->run(game);  // returns only if the main loop ever does
  delete game;
  delete app;
  return 0;
}
