#pragma once

#include <memory>
#include <string>

#include "app/GlutMenu.h"
#include "app/WindowApplication.h"
#include "platform/web/CanvasRenderer.h"
#include "platform/web/WebMenuBackend.h"

class Game;

// The application on the page's canvas: draws the view at the page's scale
// (or, fullscreen, the largest that fits), paces frames from the browser's animation frames and owns the menu
// that the page draws. The page's script sends the input here (see WebExports).
class WebApplication : public WindowApplication {
 public:
  WebApplication(CanvasRenderer& renderer, double scale);

  GlutMenu* menu() override { return &menu_; }
  void onMenuCommand(int id) override;
  bool setWindowSize(float w, float h) override;
  void setCursor(int shape) override;
  void setTitle(const char* text) override;
  void onFileSaved(const char* name) override;
  void setCredit(const char*) override {}
  void beginDraw() override;
  void endDraw() override;

  void setGame(Game* game) { game_ = game; }
  WebMenuBackend& menuBackend() { return menuBackend_; }

  // One of the browser's animation frames: runs a frame of the game when
  // one is due.
  void animationFrame();
  // Canvas pixels; modifiers as kShiftBit and the like.
  void mouseDown(int x, int y, int modifiers);
  void mouseUp(int x, int y, int modifiers);
  void mouseMove(int x, int y);
  // The middle button: pressed, it carries the view along until released.
  void middleButtonAt(int x, int y, bool down);
  void wheel(int notches);
  // A key as the page names it (see WebExports); false when the game has
  // no use for it, so that the browser may.
  bool key(int code, int modifiers);
  // The page's room for the canvas, in its pixels; fullscreen or not.
  void resize(int width, int height, bool fullscreen);
  // The tab shown or hidden: hidden, the game is autosaved as on closing
  // (a hidden tab may never come back) and pauses by itself, and goes on
  // when shown unless the player had paused it.
  void setShown(bool shown);
  // The browser's storage has written a file, or failed to: a failure is
  // said under the field, once for a run of them unless the player's own
  // Save City failed.
  void fileKept(const std::string& name, bool kept, const std::string& problem);
  // The city to and from the player's disk.
  void downloadCity();
  void openCityFile(const char* path, const char* name);
  // The mean milliseconds a frame of the game took (tick, drawing and
  // showing) over the last whole second, for measuring.
  double frameMilliseconds() const { return frameMsShown_; }

 private:
  ViewPlacement placement() const override;

  WebMenuBackend menuBackend_;
  GlutMenu menu_;
  CanvasRenderer& renderer_;
  Game* game_ = nullptr;
  int canvasWidth_ = 800;
  int canvasHeight_ = 800;
  bool pausedByHiding_ = false;
  bool keepFailing_ = false;
  int frameSecond_ = 0;
  int framesThisSecond_ = 0;
  double frameMsThisSecond_ = 0.0;
  double frameMsShown_ = 0.0;
};
