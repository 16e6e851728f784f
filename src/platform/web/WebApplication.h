#pragma once

#include <memory>
#include <string>

#include "app/Application.h"
#include "app/GlutMenu.h"
#include "app/InputMapping.h"
#include "app/WheelInput.h"
#include "platform/web/CanvasRenderer.h"
#include "platform/web/WebMenuBackend.h"

class Game;

// The application on the page's canvas: converts canvas pixels to world
// points through a zoomable, pannable view drawn at the page's scale (or,
// fullscreen, the largest that fits), keeps the modifiers and click details,
// paces frames from the browser's animation frames and owns the menu that
// the page draws. The page's script sends the input here (see WebExports).
class WebApplication : public Application {
 public:
  WebApplication(CanvasRenderer& renderer, double scale);

  Rect viewRect() override { return view_; }
  GlutMenu* menu() override { return &menu_; }
  void onMenuCommand(int id) override;
  Vec2 mouseWorldPosition() override;
  bool isDoubleClick() override { return clicks_.isDoubleClick(); }
  bool isClickInPlace() override { return clicks_.isClickInPlace(); }
  bool isDragging() override;
  bool isShiftDown() override { return (modifiers_ & kShiftBit) != 0; }
  bool isCtrlDown() override { return (modifiers_ & kCtrlBit) != 0; }
  bool isAltDown() override { return (modifiers_ & kAltBit) != 0; }
  bool setWindowSize(float w, float h) override;
  void setCursor(int shape) override;
  void reservedHook() override {}
  void reservedHook(int) override {}
  void setTitle(const char* text) override;
  void onFileSaved(const char* name) override;
  void setCredit(const char*) override {}
  void setViewCentre(float x, float y) override;
  Vec2 viewCentre() override;
  void setZoom(float zoom) override { zoom_ = zoom; }
  float zoom() override { return zoom_; }
  void beginDraw() override;
  void endDraw() override;
  int readWheel() override { return wheel_.read(); }

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
  void middleButton(int x, int y, bool down);
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
  ViewTransform view() const;
  CanvasPlacement placement() const;
  void setMouse(int x, int y);
  int pixelWidth() const;
  int pixelHeight() const;

  WebMenuBackend menuBackend_;
  GlutMenu menu_;
  CanvasRenderer& renderer_;
  Game* game_ = nullptr;
  double scale_;  // canvas pixels per unit
  float zoom_ = 1.0f;
  Vec2 translation_;
  Rect view_;
  ClickTracker clicks_;
  WheelInput wheel_;
  int width_ = 800;  // the view, in units
  int height_ = 800;
  int canvasWidth_ = 800;
  int canvasHeight_ = 800;
  bool fullscreen_ = false;
  float mouseX_ = 0.0f;  // in units of the view
  float mouseY_ = 0.0f;
  int modifiers_ = 0;
  bool pausedByHiding_ = false;
  bool keepFailing_ = false;
  int frameSecond_ = 0;
  int framesThisSecond_ = 0;
  double frameMsThisSecond_ = 0.0;
  double frameMsShown_ = 0.0;
};
