#pragma once

#include <memory>
#include <string>

#include "app/GlutMenu.h"
#include "app/WindowApplication.h"
#include "platform/glut/GlutKeys.h"
#include "platform/glut/MenuRepaint.h"
#include "platform/glut/RendererChoice.h"

class WindowDestroyWatch;
class WindowRenderer;

// The application on a GLUT window: binds the callbacks, draws the view at
// the window's scale (or, fullscreen by F11 or the window manager, the
// largest that fits), paces frames from the display and idle callbacks and
// owns the pop-up menu. Frames are drawn by OpenGL or, where
// OpenGL itself rasterizes on the CPU, by the software backend and shown
// with an X image. One instance per process.
class GlutApplication : public WindowApplication {
 public:
  GlutApplication();
  ~GlutApplication() override;

  GlutMenu* menu() override { return &menu_; }
  bool setWindowSize(float w, float h) override;
  void setCursor(int shape) override;
  // Enters the GLUT main loop, which does not return while the window is open.
  void run(GameClient* client) override;
  void setTitle(const char* text) override;
  void setCredit(const char* text) override;
  void beginDraw() override;
  void endDraw() override;
  // Creates the window and binds the callbacks.
  bool init() override;

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
  // Where the view is drawn in the window as it is now.
  ViewPlacement placement() const override;
  void toggleFullscreen();
  // Follows the window manager's fullscreen state, which it may change
  // itself (from its menu, say) without changing the window's size.
  void followWindowManager();
  int windowWidth() const;
  int windowHeight() const;

  GlutMenu menu_;
  bool hasCredit_ = false;
  std::string credit_;
  int windowId_ = 0;
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
  bool reshaping_ = false;
  std::unique_ptr<WindowRenderer> renderer_;
  std::unique_ptr<WindowDestroyWatch> destroyWatch_;
  MenuRepaint menuRepaint_;
};
