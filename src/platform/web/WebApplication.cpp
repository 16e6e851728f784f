#include "platform/web/WebApplication.h"

#include <emscripten.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/FrameClock.h"
#include "game/CityFile.h"
#include "game/Game.h"
#include "platform/web/PageCalls.h"
#include "platform/web/WebScaledFonts.h"
#include "tuning/TuningFile.h"

namespace {

// The background around the view.
constexpr uint32_t kClearRgb = 0xFFFFFF;
// Animation frames come at the display's rate, never on the tick itself: a
// frame may run this early, so that a 60 Hz display shows every one of 30
// a second instead of dropping to 20.
constexpr float kEarlySeconds = 0.008f;
// Where the city on its way to or from the player's disk is kept meanwhile.
constexpr const char* kPassingCityPath = "/tmp/passing-city.txt";

}  // namespace

WebApplication::WebApplication(CanvasRenderer& renderer, double scale)
    : WindowApplication(scale), menu_(menuBackend_), renderer_(renderer) {
  canvasWidth_ = pixelWidth();
  canvasHeight_ = pixelHeight();
  verlomba_set_canvas(canvasWidth_, canvasHeight_);
}

ViewPlacement WebApplication::placement() const {
  // Fullscreen, the largest view that fits with fonts of its scale, centred.
  const double fit = scaleToFit(width_, height_, canvasWidth_, canvasHeight_);
  return centredView(width_, height_, fullscreen_ && fit > 0.0 ? webScaleAtMost(fit) : scale_, canvasWidth_,
                     canvasHeight_);
}

bool WebApplication::setWindowSize(float w, float h) {
  WindowApplication::setWindowSize(w, h);
  if (!fullscreen_) {
    canvasWidth_ = pixelWidth();
    canvasHeight_ = pixelHeight();
    verlomba_set_canvas(canvasWidth_, canvasHeight_);
  }
  return true;
}

void WebApplication::setCursor(int shape) {
  verlomba_set_cursor(shape);
}

void WebApplication::setTitle(const char* text) {
  verlomba_set_title(text ? text : "");
}

void WebApplication::beginDraw() {
  renderer_.beginFrame(canvasWidth_, canvasHeight_, placement(), zoom_, translation_, kClearRgb);
}

void WebApplication::endDraw() {
  renderer_.endFrame();
}

void WebApplication::animationFrame() {
  const float now = FrameClock::realSeconds();
  if (now + kEarlySeconds < lastFrameTime_ + frameInterval_) return;
  if (now - lastFrameTime_ > 2.0f * frameInterval_) {
    lastFrameTime_ = now;  // too far behind (a hidden tab): no backlog
  } else {
    lastFrameTime_ += frameInterval_;
  }
  const double start = emscripten_get_now();
  onFrame();
  const int second = static_cast<int>(now);
  if (second != frameSecond_) {
    frameMsShown_ = framesThisSecond_ > 0 ? frameMsThisSecond_ / framesThisSecond_ : 0.0;
    frameSecond_ = second;
    framesThisSecond_ = 0;
    frameMsThisSecond_ = 0.0;
  }
  ++framesThisSecond_;
  frameMsThisSecond_ += emscripten_get_now() - start;
}

void WebApplication::mouseDown(int x, int y, int modifiers) {
  modifiers_ = modifiers;
  pointerAt(x, y);
  leftButton(true);
}

void WebApplication::mouseUp(int x, int y, int modifiers) {
  modifiers_ = modifiers;
  pointerAt(x, y);
  if (isButtonDown()) leftButton(false);
}

void WebApplication::mouseMove(int x, int y) {
  pointerAt(x, y);
  pointerMoved();
}

void WebApplication::middleButtonAt(int x, int y, bool down) {
  pointerAt(x, y);
  middleButton(down);
}

void WebApplication::wheel(int notches) {
  wheel_.add(notches);
}

bool WebApplication::key(int code, int modifiers) {
  modifiers_ = modifiers;
  if (code <= 0) return false;
  // The browser names a letter with Ctrl by the letter itself, where the
  // desktop's window system gives its control code.
  if (code < 256 && (modifiers & kCtrlBit) && std::isalpha(code)) code = std::tolower(code) - 'a' + 1;
  onKey(code < 256 ? mapKeyboardKey(static_cast<unsigned char>(code), modifiers) : code);
  return true;
}

void WebApplication::resize(int width, int height, bool fullscreen) {
  fullscreen_ = fullscreen;
  if (fullscreen) {
    canvasWidth_ = std::max(width, 1);
    canvasHeight_ = std::max(height, 1);
  } else {
    canvasWidth_ = pixelWidth();
    canvasHeight_ = pixelHeight();
  }
  verlomba_set_canvas(canvasWidth_, canvasHeight_);
}

void WebApplication::setShown(bool shown) {
  const bool hiding = !shown && isVisible();
  setVisible(shown);
  if (!game_) return;
  // Before the hiding's own pause, so that the autosave keeps the player's.
  if (hiding) onClose();
  if (!shown && !game_->paused) {
    game_->setPaused(true);
    pausedByHiding_ = true;
  } else if (shown && pausedByHiding_) {
    pausedByHiding_ = false;
    if (game_->paused) game_->setPaused(false);
  }
}

void WebApplication::onMenuCommand(int id) {
  // A pause of the player's own is theirs to end.
  if (id == Game::kPauseCommand) pausedByHiding_ = false;
  Application::onMenuCommand(id);
  if (id == Game::kSaveTuningCommand) verlomba_download(kSavedTuningFileName, kSavedTuningFileName);
}

void WebApplication::onFileSaved(const char* name) {
  verlomba_keep(name);
}

void WebApplication::fileKept(const std::string& name, bool kept, const std::string& problem) {
  if (kept) {
    keepFailing_ = false;
    return;
  }
  const bool asked = name == kCityFileName;  // the player's Save City
  if (!game_ || (keepFailing_ && !asked)) return;
  keepFailing_ = true;
  game_->showOutcome("Could not keep " + name + " in the browser's storage: " + problem, true);
}

void WebApplication::downloadCity() {
  if (!game_) return;
  const SaveResult saved = saveCityFile(*game_, kPassingCityPath);
  if (saved.saved) {
    verlomba_download(kPassingCityPath, kCityFileName);
  } else {
    game_->showOutcome("Could not save " + std::string(kCityFileName) + ": " + saved.problem, true);
  }
  std::remove(kPassingCityPath);
}

void WebApplication::openCityFile(const char* path, const char* name) {
  if (game_) game_->loadCityFrom(path, name);
  std::remove(path);
}
