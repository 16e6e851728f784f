#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/Application.h"
#include "app/GlutMenu.h"
#include "app/InputMapping.h"
#include "app/WheelInput.h"
#include "platform/windows/GdiFrame.h"
#include "platform/windows/WinMenuBackend.h"

class SoftwareDrawBackend;

// The application in a Win32 window: a fixed-size window (no maximize box,
// no resize border) of the game's view at the window scale, or with F11 a
// borderless window over its monitor with the largest view that fits,
// centred. Frames are drawn by the software renderer and shown with GDI,
// paced at the game's rate by the message loop, which sleeps between them.
// Converts window pixels to world points, keeps the modifiers and click
// details, and owns the native pop-up menu. One instance per process.
class WinApplication : public Application {
 public:
  WinApplication();
  ~WinApplication() override;

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
  // The message loop, until the window closes.
  void run(GameClient* client) override;
  void setTitle(const char* text) override;
  void setCredit(const char* text) override { credit_ = text ? text : ""; }
  void setViewCentre(float x, float y) override;
  Vec2 viewCentre() override;
  void setZoom(float zoom) override { zoom_ = zoom; }
  float zoom() override { return zoom_; }
  void beginDraw() override;
  void endDraw() override;
  // Creates the window, shown.
  bool init() override;
  int readWheel() override { return wheel_.read(); }

  HWND window() const { return window_; }
  LRESULT handleMessage(UINT message, WPARAM w, LPARAM l);

 private:
  struct Placement {
    double scale = 1.0;
    int left = 0;
    int top = 0;
  };
  Placement placement() const;
  int pixelWidth() const;
  int pixelHeight() const;
  void clientSize(int& width, int& height) const;
  // The outer window size for a client area of the view's pixels.
  RECT frameFor(int x, int y) const;
  void setMouse(LPARAM l);
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
  Placement cleared_;
  double scale_ = 1.0;  // window pixels per unit
  int width_ = 800;     // the view, in units
  int height_ = 800;
  Rect view_;
  float zoom_ = 1.0f;
  Vec2 translation_;
  ClickTracker clicks_;
  float mouseX_ = 0.0f;  // in window units
  float mouseY_ = 0.0f;
  int modifiers_ = 0;
  int wheelRemainder_ = 0;
  WheelInput wheel_;
  HCURSOR cursor_ = nullptr;
  bool fullscreen_ = false;
  RECT windowedRect_ = {};
  std::string credit_;
};
