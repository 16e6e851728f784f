#pragma once

#include <cstdint>
#include <string>

#include "app/GlutMenu.h"
#include "app/MillisecondClock.h"
#include "app/WindowApplication.h"
#include "doubles/NullDrawBackend.h"
#include "doubles/RecordingMenuBackend.h"

// Installs a hand-driven millisecond clock and restarts the frame clock on
// it. A base of ScriptedApplication so that both happen before Application
// reads the clock in its constructor.
class ScriptedClock {
 protected:
  explicit ScriptedClock(uint32_t startMilliseconds);
  ~ScriptedClock();

  ManualMilliseconds clock_;
  const MillisecondSource* previousSource_;
};

// An application without a window, driven by hand: for tests and headless
// runs of the game. While it lives it is the global application and owns the
// clock; mouse, keys, wheel and menu picks go through the same rules as the
// GLUT window's (key mapping, view conversion, double click and
// click-in-place: the window's own WindowApplication). Drawing goes to whatever draw backend is installed, or
// nowhere when none is.
class ScriptedApplication : private ScriptedClock, public WindowApplication {
 public:
  explicit ScriptedApplication(uint32_t startMilliseconds = 0);
  ~ScriptedApplication() override;

  // --- Application ---
  GlutMenu* menu() override { return &menu_; }
  void onFrame() override;
  Vec2 mouseWorldPosition() override;
  bool setWindowSize(float w, float h) override;
  void setCursor(int shape) override { cursor_ = shape; }
  void setTitle(const char* text) override { title_ = text ? text : ""; }
  void setCredit(const char* text) override { credit_ = text ? text : ""; }
  void setViewCentre(float x, float y) override;
  void setZoom(float zoom) override;
  void beginDraw() override { ++drawsBegun_; }
  void endDraw() override { ++drawsEnded_; }

  // --- Clock and frames ---
  ManualMilliseconds& clock() { return clock_; }
  void advanceMilliseconds(uint32_t ms) { clock_.advance(ms); }
  // Whole milliseconds, rounded to nearest.
  void advanceSeconds(float seconds);
  // Runs the frame pacing at the current time, as the window's idle
  // callback does; true when a frame ran.
  bool pace();
  // Advances the clock by one frame interval (rounded up to whole
  // milliseconds), then paces; true when a frame ran.
  bool stepFrame();
  // Exactly one frame (one game tick): advances the clock by one frame
  // interval, further if the schedule needs it, and runs onFrame().
  void tick();
  void tick(int count);
  int frameCount() const { return frames_; }
  int drawCount() const { return drawsEnded_; }

  // --- Mouse ---
  // Window pixel of the mouse (fractions allowed).
  void setMousePixel(float x, float y);
  // Puts the mouse over a world point; mouseWorldPosition() reports it
  // exactly until the mouse or the view changes.
  void setMouseWorld(float x, float y);
  Vec2 mousePixel() const { return {mouseX_, mouseY_}; }
  // The left button, as the window's mouse callback handles it.
  void pressButton();
  void releaseButton();
  void clickAtWorld(float x, float y);

  // --- Keyboard ---
  void setModifiers(bool shift, bool ctrl = false, bool alt = false);
  void setModifierBits(int bits) { modifiers_ = bits; }
  int modifierBits() const { return modifiers_; }
  // A character key through the window's key mapping, with the current modifiers.
  void pressKey(unsigned char key);

  // --- Wheel and menu ---
  // +1 per notch up, -1 per notch down, as the wheel callback adds them.
  void scrollWheel(int notches) { wheel_.add(notches); }
  RecordingMenuBackend& menuBackend() { return menuBackend_; }
  // A pick of the menu entry with this id.
  void pickMenu(int id) { menu_.select(id); }

  // --- Snapshot ---
  // What the hand and the clocks are doing at one moment, so that a run
  // resumed from a saved city can go on with the same input: the clock, the
  // frame schedule, the mouse, the button and the modifiers.
  struct Snapshot {
    uint32_t milliseconds = 0;
    float lastFrameTime = 0.0f;
    float pressTime = 0.0f;
    Vec2 pressPosition;
    Vec2 lastMousePosition;
    bool buttonDown = false;
    float mouseX = 0.0f;
    float mouseY = 0.0f;
    bool worldPinned = false;
    Vec2 pinnedWorld;
    int modifiers = 0;
    ClickTracker clicks;
  };
  Snapshot snapshot() const;
  void restore(const Snapshot& s);

  // --- What the game asked for ---
  float width() const { return static_cast<float>(width_); }
  float height() const { return static_cast<float>(height_); }
  int cursor() const { return cursor_; }
  const std::string& title() const { return title_; }
  const std::string& credit() const { return credit_; }

 protected:
  // No window: the view is its own pixels.
  ViewPlacement placement() const override { return {width_, height_, 1.0}; }

 private:
  uint32_t frameIntervalMilliseconds() const;

  Application* previousGlobal_;
  NullDrawBackend nothing_;
  bool drawsNowhere_ = false;  // nothing_ was installed for want of a backend
  RecordingMenuBackend menuBackend_;
  GlutMenu menu_;
  bool worldPinned_ = false;
  Vec2 pinnedWorld_;
  int cursor_ = 1;
  std::string title_;
  std::string credit_;
  int frames_ = 0;
  int drawsBegun_ = 0;
  int drawsEnded_ = 0;
};
