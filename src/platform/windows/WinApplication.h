#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/GlutMenu.h"
#include "app/WindowApplication.h"
#include "platform/windows/GdiFrame.h"
#include "platform/windows/WinMenuBackend.h"

class SoftwareDrawBackend;

// The application in a Win32 window: a fixed-size window (no maximize box,
// no resize border) of the game's view at the window scale, or with F11 a
// borderless window over its monitor with the largest view that fits,
// centred. Frames are drawn by the software renderer and shown with GDI,
// paced at the game's rate by the message loop, which sleeps between them.
// Owns the native pop-up menu. One instance per process.
class WinApplication : public WindowApplication {
 public:
  WinApplication();
  ~WinApplication() override;

  GlutMenu* menu() override { return &menu_; }
  bool setWindowSize(float w, float h) override;
  void setCursor(int shape) override;
  // The message loop, until the window closes.
  void run(GameClient* client) override;
  void setTitle(const char* text) override;
  void setCredit(const char* text) override { credit_ = text ? text : ""; }
  void beginDraw() override;
  void endDraw() override;
  // Creates the window, shown.
  bool init() override;

  HWND window() const { return window_; }
  LRESULT handleMessage(UINT message, WPARAM w, LPARAM l);

 private:
  ViewPlacement placement() const override;
  void clientSize(int& width, int& height) const;
  // The outer window size for a client area of the view's pixels.
  RECT frameFor(int x, int y) const;
  // The pointer where a mouse message says.
  void pointerFrom(LPARAM l);
  void readModifiers();
  void onButton(bool down, LPARAM l);
  void onKeyDown(WPARAM key);
  void toggleFullscreen();
  // Asks for WM_TIMER when the next frame is due.
  void armFrameTimer();
  void showFrame(HDC dc);

  WinMenuBackend menuBackend_;  // before the menu, which makes its menus with it
  GlutMenu menu_;
  HWND window_ = nullptr;
  std::unique_ptr<SoftwareDrawBackend> software_;
  GdiFrame frame_;
  double fontScale_ = 1.0;
  ViewPlacement cleared_;
  int wheelRemainder_ = 0;
  HCURSOR cursor_ = nullptr;
  RECT windowedRect_ = {};
  std::string credit_;
};
