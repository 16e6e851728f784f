// The browser's entry: the game on the page's canvas. runGame sets the page
// up and returns; the browser's animation frames and the page's input
// events (the functions below, which the page's script calls) drive it
// from then on, for as long as the page lives.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/AboutBoxLayout.h"
#include "app/AboutText.h"
#include "app/GameStart.h"
#include "app/RunGame.h"
#include "app/WindowScale.h"
#include "draw/Pen.h"
#include "game/Game.h"
#include "platform/web/CanvasRenderer.h"
#include "platform/web/PageCalls.h"
#include "platform/web/WebApplication.h"
#include "platform/web/WebScaledFonts.h"

namespace {

// The page's one game: the about box first, then the game itself.
struct Session {
  void (*prepare)(Game&) = nullptr;
  std::string cityFile;
  double scale = 1.0;
  std::unique_ptr<CanvasRenderer> renderer;
  std::unique_ptr<AboutBoxLayout> about;
  std::unique_ptr<WebApplication> app;
  std::unique_ptr<Game> game;
};

Session& session() {
  static Session s;
  return s;
}

// The devicePixelRatio takes the place of the desktop's Xft.dpi, lowered
// to fit the page's room, then to a scale the fonts are there for.
double chooseScale(std::optional<double> asked) {
  const double ratio = verlomba_device_pixel_ratio();
  const std::string dpi = std::to_string(ratio * 96.0);
  ScaleSources sources;
  sources.commandLine = asked;
  sources.xftDpi = dpi.c_str();
  // The desktop keeps room for a title bar and a panel; the page needs none.
  sources.screenWidth = static_cast<int>(verlomba_room_width() * ratio);
  sources.screenHeight = static_cast<int>(verlomba_room_height() * ratio) + 48;
  return webScaleAtMost(chooseWindowScale(sources).scale);
}

// The about box fills the canvas at its scale.
void drawAbout(const AboutBoxLayout& box, CanvasRenderer& renderer) {
  const ViewPlacement p = box.placement();
  renderer.beginFrame(p.pixelWidth(), p.pixelHeight(), p, 1.0f, {p.width * 0.5f, p.height * 0.5f},
                      AboutBoxLayout::kBackgroundRgb);
  box.draw();
  renderer.endFrame();
}

void startPlaying() {
  Session& s = session();
  s.about.reset();
  resetPen();  // the game starts with a fresh pen
  s.app = std::make_unique<WebApplication>(*s.renderer, s.scale);
  setGlobalApplication(s.app.get());
  std::string problem;
  s.game.reset(startGame(*s.app, s.prepare, s.cityFile, problem));
  if (!s.game) {
    std::fprintf(stderr, "verlomba: %s\n", problem.c_str());
    return;
  }
  s.app->setGame(s.game.get());
  s.app->run(s.game.get());
}

EM_BOOL animationFrame(double, void*) {
  Session& s = session();
  if (s.about) {
    if (s.about->dismissed()) {
      startPlaying();
    } else {
      drawAbout(*s.about, *s.renderer);
    }
  }
  if (s.app) s.app->animationFrame();
  return EM_TRUE;
}

}  // namespace

int runGame(void (*prepare)(Game&), std::optional<double> scale, const std::string& cityFile) {
  Session& s = session();
  s.prepare = prepare;
  s.cityFile = cityFile;
  s.scale = chooseScale(scale);
  s.renderer = std::make_unique<CanvasRenderer>();
  s.about = std::make_unique<AboutBoxLayout>(about::load(), s.scale);
  verlomba_set_canvas(s.about->placement().pixelWidth(), s.about->placement().pixelHeight());
  drawAbout(*s.about, *s.renderer);
  emscripten_request_animation_frame_loop(animationFrame, nullptr);
  return 0;
}

// What the page's script calls. Positions are canvas pixels; modifiers are
// kShiftBit, kCtrlBit and kAltBit; keys are character codes, 8 for
// Backspace, 127 for Delete, 13 and 27 for Return and Escape, kKeyLeft and
// the like for the arrows, Home and F1.
extern "C" {

EMSCRIPTEN_KEEPALIVE void verlomba_mouse_down(int x, int y, int modifiers) {
  Session& s = session();
  if (s.about) s.about->mouseDown(x, y);
  if (s.app) s.app->mouseDown(x, y, modifiers);
}

EMSCRIPTEN_KEEPALIVE void verlomba_mouse_up(int x, int y, int modifiers) {
  Session& s = session();
  if (s.about) s.about->mouseUp(x, y);
  if (s.app) s.app->mouseUp(x, y, modifiers);
}

EMSCRIPTEN_KEEPALIVE void verlomba_mouse_move(int x, int y) {
  if (WebApplication* app = session().app.get()) app->mouseMove(x, y);
}

EMSCRIPTEN_KEEPALIVE void verlomba_middle_button(int x, int y, int down) {
  if (WebApplication* app = session().app.get()) app->middleButtonAt(x, y, down != 0);
}

EMSCRIPTEN_KEEPALIVE void verlomba_wheel(int notches) {
  if (WebApplication* app = session().app.get()) app->wheel(notches);
}

EMSCRIPTEN_KEEPALIVE int verlomba_key(int code, int modifiers) {
  Session& s = session();
  if (s.about) {
    s.about->key(code);
    return code == 13 || code == 27;
  }
  return s.app && s.app->key(code, modifiers);
}

EMSCRIPTEN_KEEPALIVE void verlomba_resize(int width, int height, int fullscreen) {
  if (WebApplication* app = session().app.get()) app->resize(width, height, fullscreen != 0);
}

EMSCRIPTEN_KEEPALIVE void verlomba_shown(int shown) {
  if (WebApplication* app = session().app.get()) app->setShown(shown != 0);
}

// The menu on the right button: 0 while there is none (the about box).
EMSCRIPTEN_KEEPALIVE int verlomba_menu_root() {
  WebApplication* app = session().app.get();
  return app ? app->menuBackend().attached() : 0;
}

// The lines of a menu (see WebMenuBackend::describe), valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* verlomba_menu_describe(int menu) {
  static std::string text;
  WebApplication* app = session().app.get();
  text = app ? app->menuBackend().describe(menu) : "";
  return text.c_str();
}

EMSCRIPTEN_KEEPALIVE void verlomba_menu_pick(int menu, int id) {
  if (WebApplication* app = session().app.get()) app->menuBackend().pick(menu, id);
}

EMSCRIPTEN_KEEPALIVE void verlomba_download_city() {
  if (WebApplication* app = session().app.get()) app->downloadCity();
}

// How the browser's storage took a file that verlomba_keep was asked to keep.
EMSCRIPTEN_KEEPALIVE void verlomba_kept(const char* name, int kept, const char* problem) {
  if (WebApplication* app = session().app.get()) app->fileKept(name, kept != 0, problem);
}

// A city file the player chose, put at path in the module's files; shown
// by name.
EMSCRIPTEN_KEEPALIVE void verlomba_open_city(const char* path, const char* name) {
  if (WebApplication* app = session().app.get()) app->openCityFile(path, name);
}

// The frames shown in the last whole second, as the game's corner shows it.
EMSCRIPTEN_KEEPALIVE int verlomba_fps() {
  Game* game = session().game.get();
  return game ? game->fpsShown : 0;
}

// The mean milliseconds of a frame over the last whole second.
EMSCRIPTEN_KEEPALIVE double verlomba_frame_ms() {
  WebApplication* app = session().app.get();
  return app ? app->frameMilliseconds() : 0.0;
}

}  // extern "C"
