#pragma once

#include "world/Geometry.h"

// Pure pieces of the window binding: key mapping, the window-to-world
// conversion and the click bookkeeping, shared by every platform and checked
// without a display.

// Modifier bits as the window system reports them. Other bits (NumLock, for
// one) may be set too, so test them with &.
constexpr int kShiftBit = 1;
constexpr int kCtrlBit = 2;
constexpr int kAltBit = 4;

// Key codes of the arrow keys and other special keys as the game sees them.
constexpr int kKeyLeft = 1000;
constexpr int kKeyRight = 1001;
constexpr int kKeyUp = 1002;
constexpr int kKeyDown = 1003;
constexpr int kKeyHome = 1004;
constexpr int kKeyF1 = 1005;

// A character key: Ctrl turns control codes back into letters ("a", or "A"
// with Shift too); Delete arrives as backspace (8).
int mapKeyboardKey(unsigned char key, int modifiers);

// The view through which window pixels are seen.
struct ViewTransform {
  Rect view;  // the view rectangle, (0, width, 0, height)
  float pixelScale = 1.0f;
  float zoom = 1.0f;  // about the view's centre
  Vec2 translation;   // the model-view translation; the view's centre when not panned
};

// The world point under a window pixel (origin top left). The half sizes of
// the view are whole numbers, as the drawing transform uses them.
Vec2 windowToWorld(float px, float py, const ViewTransform& t);
// The model-view translation that puts world point (x, y) at the centre of
// the view, and back.
Vec2 translationForCentre(const Rect& view, float x, float y);
Vec2 centreForTranslation(const Rect& view, Vec2 translation);

// Double-click and click-in-place detection on window pixels.
class ClickTracker {
 public:
  static constexpr float kDoubleClickSeconds = 0.5f;

  // A press at (x, y) at time now, with lastPressTime the time of the
  // previous press. A double click needs the same pixel, less than half a
  // second, and no double click just before (so a triple press is not two).
  void press(float x, float y, float now, float lastPressTime);
  // A release at (x, y): a click in place when it is the press pixel.
  void release(float x, float y);
  bool isDoubleClick() const { return doubleClick_; }
  bool isClickInPlace() const { return clickInPlace_; }
  // Whether (x, y) differs from the pixel of the last press.
  bool movedFromPress(float x, float y) const { return x != pressX_ || y != pressY_; }
  float pressX() const { return pressX_; }
  float pressY() const { return pressY_; }

 private:
  bool doubleClick_ = false;
  bool clickInPlace_ = false;
  float pressX_ = 0.0f;
  float pressY_ = 0.0f;
};
