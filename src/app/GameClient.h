#pragma once

#include "world/Geometry.h"

class Application;
class Anchor;
class GlutMenu;

// What the application drives: the game implements it. The forwarding
// operations let world objects, which only know their game, ask for the
// mouse and keyboard state without knowing the application.
class GameClient {
 public:
  explicit GameClient(Application* app) : app_(app) {}
  virtual ~GameClient() = default;

  virtual Rect viewRect();
  virtual GlutMenu* menu();
  virtual void onMenuCommand(int id) = 0;
  virtual void onMouseDown(float x, float y) = 0;
  virtual void onMouseUp(float x, float y) = 0;
  virtual void onKey(int code) = 0;
  virtual void onFrame() = 0;
  virtual void onDraw() = 0;
  virtual void onMouseMove(float dx, float dy) = 0;
  virtual void onWheel(float step) = 0;
  virtual bool onReserved(int a, int b) = 0;
  virtual void onClose() {}
  // A press of a button other than the left and the right (the menu's).
  virtual void onOtherButton() {}

  virtual Vec2 mouseWorldPosition();
  virtual bool isButtonDown();
  virtual Vec2 pressPosition();
  virtual float pressTime();
  virtual bool isDoubleClick();
  virtual bool isClickInPlace();
  virtual bool isDragging();
  virtual bool isShiftDown();
  virtual bool isCtrlDown();
  virtual bool isAltDown();
  virtual void renderFrame();
  virtual bool setWindowSize(float w, float h);
  virtual void setCursor(int shape);
  virtual void reservedHook();
  virtual void reservedHook(int value);

  virtual Application* application() { return app_; }
  virtual int peepCount() { return 0; }
  virtual Anchor* anchorAt(float /*x*/, float /*y*/, const Anchor* /*like*/) { return nullptr; }

 protected:
  Application* app_;
};
