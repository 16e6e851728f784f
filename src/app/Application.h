#pragma once

#include "world/Geometry.h"

class GameClient;
class GlutMenu;

// The shell that owns the window: paces frames, keeps the mouse state and
// hands events to its client. One instance per process.
class Application {
 public:
  Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  virtual Rect viewRect() = 0;
  virtual GlutMenu* menu() { return nullptr; }
  virtual void onMenuCommand(int id);
  virtual void onMouseDown(float x, float y);
  virtual void onMouseUp(float x, float y);
  virtual void onKey(int code);
  virtual void onFrame();
  virtual void onDraw();
  virtual void onMouseMove(float dx, float dy);
  virtual void onWheel(float step);
  virtual void onReserved(int a, int b);
  virtual Vec2 mouseWorldPosition() = 0;
  virtual bool isButtonDown() { return buttonDown_; }
  virtual Vec2 pressPosition() { return pressPosition_; }
  virtual float pressTime() { return pressTime_; }
  virtual bool isDoubleClick() = 0;
  virtual bool isClickInPlace() = 0;
  virtual bool isDragging() = 0;
  virtual bool isShiftDown() = 0;
  virtual bool isCtrlDown() = 0;
  virtual bool isAltDown() = 0;
  virtual void renderFrame();
  virtual bool setWindowSize(float w, float h);
  virtual void setCursor(int shape) = 0;
  virtual void reservedHook() = 0;
  virtual void reservedHook(int value) = 0;
  virtual ~Application();
  virtual void run(GameClient* client) { client_ = client; }
  virtual void setTitle(const char* text) = 0;
  virtual void setCredit(const char* text) = 0;
  virtual void setFrameRate(int fps);
  virtual void setViewCentre(float x, float y) = 0;
  virtual Vec2 viewCentre() = 0;
  virtual void setZoom(float zoom) = 0;
  virtual float zoom() = 0;
  virtual void present() { renderFrame(); }
  virtual void beginDraw() = 0;
  virtual void endDraw() = 0;
  virtual bool init() { return true; }
  // The wheel source: the sign of the wheel motion since the previous read
  // (-1, 0 or +1). A read consumes what it reports.
  virtual int readWheel() = 0;

  // Frame pacing: true when a frame is due now, advancing the schedule (a
  // loop more than two intervals behind drops the backlog). The caller then
  // runs onFrame().
  bool takeDueFrame();
  // Seconds until the next frame falls due (0 when one is due already).
  float secondsUntilNextFrame() const;
  float frameInterval() const { return frameInterval_; }
  // While the window cannot be seen (minimized, unmapped or covered whole)
  // frames go on ticking the game but draw and show nothing.
  void setVisible(bool visible) {
    if (visible && !visible_) askRedraw();
    visible_ = visible;
  }
  bool isVisible() const { return visible_; }
  float lastFrameTime() const { return lastFrameTime_; }
  GameClient* client() const { return client_; }
  // The window's picture was lost (exposed, shown again): the next frame is
  // drawn even when nothing in it changed. Taking the request clears it.
  void askRedraw() { redrawAsked_ = true; }
  bool takeRedrawRequest() {
    const bool asked = redrawAsked_;
    redrawAsked_ = false;
    return asked;
  }

  // The view over the field, in window units: moved by (dx, dy) and kept
  // from showing beyond the field at the current zoom; a drag (the middle
  // button) carries the world under the pointer along with it.
  void moveViewBy(float dx, float dy);
  void keepViewOnField();
  // Also tells the client of the press (it may close what it shows).
  void beginViewDrag(float x, float y);
  void dragViewTo(float x, float y);
  void endViewDrag() { viewDragging_ = false; }
  bool isDraggingView() const { return viewDragging_; }
  // The window is closing (its close button, the window manager, or its
  // destruction by another client): the client's last word.
  void onClose();
  // A file of the play directory was saved whole. The browser's files live
  // only as long as the page: its platform keeps the file in the browser's
  // storage too. The desktop's are on the disk already.
  virtual void onFileSaved(const char* /*name*/) {}

 protected:
  float lastFrameTime_ = 0.0f;
  float frameInterval_ = 1.0f / 30;
  float pressTime_ = 0.0f;
  Vec2 pressPosition_;
  Vec2 lastMousePosition_;
  bool buttonDown_ = false;
  bool visible_ = true;
  bool redrawAsked_ = false;
  bool viewDragging_ = false;
  Vec2 viewDragAt_;
  GameClient* client_ = nullptr;
};

// The application that the window callbacks and the menu send events to.
Application* globalApplication();
void setGlobalApplication(Application* app);
