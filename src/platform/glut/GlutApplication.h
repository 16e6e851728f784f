#pragma once

#include <memory>
#include <string>

#include "app/Application.h"
#include "app/GlutMenu.h"
#include "app/InputMapping.h"
#include "app/WheelInput.h"
#include "platform/glut/GlutKeys.h"
#include "platform/glut/MenuRepaint.h"
#include "platform/glut/RendererChoice.h"

class WindowDestroyWatch;
class WindowRenderer;
struct ViewPlacement;

// The application on a GLUT window: binds the callbacks, converts window
// pixels to world points through a zoomable, pannable view drawn at the
// window's scale (or, fullscreen by F11 or the window manager, the largest
// that fits), keeps the
// modifiers and click details, paces frames from the display and idle
// callbacks and owns the pop-up menu. Frames are drawn by OpenGL or, where
// OpenGL itself rasterizes on the CPU, by the software backend and shown
// with an X image. One instance per process.
class GlutApplication : public Application {
 public:
  GlutApplication();
  ~GlutApplication() override;

  Rect viewRect() override { return view_; }
  GlutMenu* menu() override { return &menu_; }
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
  // Enters the GLUT main loop, which does not return while the window is open.
  void run(GameClient* client) override;
  void setTitle(const char* text) override;
  void setCredit(const char* text) override;
  void setViewCentre(float x, float y) override;
  Vec2 viewCentre() override;
  void setZoom(float zoom) override { zoom_ = zoom; }
  float zoom() override { return zoom_; }
  void beginDraw() override;
  void endDraw() override;
  // Creates the window and binds the callbacks.
  bool init() override;
  int readWheel() override { return wheel_.read(); }

  float width() const { return static_cast<float>(width_); }
  float height() const { return static_cast<float>(height_); }
  int windowId() const { return windowId_; }
  Renderer renderer() const;
  bool hasCredit() const { return hasCredit_; }
  const char* credit() const { return hasCredit_ ? credit_.c_str() : nullptr; }

  // Bodies of the GLUT callbacks.
  void handleDisplay();
  void handleIdle();
  void handleMotion(int x, int y);
  void handleMouse(int button, int state, int x, int y);
  void handleWheel(int direction, int x, int y);
  void handleKeyboard(unsigned char key, int x, int y);
  void handleSpecial(int key, int x, int y);
  void handleReshape(int w, int h);
  void handleWindowStatus(int state);

 private:
  ViewTransform view() const;
  // Where the view is drawn in the window as it is now.
  ViewPlacement placement() const;
  // Window pixels to the window units the view is in.
  void setMouse(int x, int y);
  int pixelWidth() const;
  int pixelHeight() const;
  void toggleFullscreen();
  // Follows the window manager's fullscreen state, which it may change
  // itself (from its menu, say) without changing the window's size.
  void followWindowManager();
  int windowWidth() const;
  int windowHeight() const;

  GlutMenu menu_;
  float pixelScale_ = 1.0f;
  float zoom_ = 1.0f;
  Vec2 translation_;
  ClickTracker clicks_;
  bool hasCredit_ = false;
  std::string credit_;
  int width_ = 640;
  int height_ = 480;
  Rect view_;
  int windowId_ = 0;
  float mouseX_ = 0.0f;  // in window units
  float mouseY_ = 0.0f;
  double scale_ = 1.0;  // window pixels per unit
  bool fullscreen_ = false;
  // Asked of the window manager, which has not yet said so.
  bool fullscreenPending_ = false;
  // Covering the screen by itself, with no window manager to ask.
  bool fullscreenByHand_ = false;
  int framesSinceFollow_ = 0;
  // The window's size in pixels as its reshapes (and, every few frames, the
  // server) last said, or -1 before either has: asking the server is a
  // round trip, and every frame and pointer motion needs the size.
  mutable int shownWidth_ = -1;
  mutable int shownHeight_ = -1;
  int modifiers_ = 0;
  bool reshaping_ = false;
  WheelInput wheel_;
  std::unique_ptr<WindowRenderer> renderer_;
  std::unique_ptr<WindowDestroyWatch> destroyWatch_;
  MenuRepaint menuRepaint_;
};
