#pragma once

#include "app/Application.h"
#include "app/InputMapping.h"
#include "app/ViewPlacement.h"
#include "app/WheelInput.h"

// What every platform's window shares: the view in window units (drawn at
// scale_ window pixels a unit), zoomed and moved over the field; the pointer
// in those units, the modifiers and the clicks as the window reports them;
// and the wheel. A platform feeds it window pixels through placement() and
// keeps its own window, frames and menu.
class WindowApplication : public Application {
 public:
  explicit WindowApplication(double scale);

  Rect viewRect() override { return view_; }
  Vec2 mouseWorldPosition() override;
  bool isDoubleClick() override { return clicks_.isDoubleClick(); }
  bool isClickInPlace() override { return clicks_.isClickInPlace(); }
  bool isDragging() override;
  bool isShiftDown() override { return (modifiers_ & kShiftBit) != 0; }
  bool isCtrlDown() override { return (modifiers_ & kCtrlBit) != 0; }
  bool isAltDown() override { return (modifiers_ & kAltBit) != 0; }
  bool setWindowSize(float w, float h) override;
  void reservedHook() override {}
  void reservedHook(int) override {}
  void setViewCentre(float x, float y) override;
  Vec2 viewCentre() override;
  void setZoom(float zoom) override { zoom_ = zoom; }
  float zoom() override { return zoom_; }
  int readWheel() override { return wheel_.read(); }

 protected:
  // Where the view sits in the window now, in window pixels.
  virtual ViewPlacement placement() const = 0;
  // The view's size at its own scale, in window pixels.
  int pixelWidth() const;
  int pixelHeight() const;
  ViewTransform view() const;

  // The pointer at window pixel (x, y).
  void pointerAt(double x, double y);
  // The left button pressed or released where the pointer is.
  void leftButton(bool down);
  // The middle button carries the view along while held.
  void middleButton(bool down);
  // The pointer moved: a view being dragged follows it.
  void pointerMoved();

  double scale_;     // window pixels per unit
  int width_ = 800;  // the view, in units
  int height_ = 800;
  Rect view_;
  float zoom_ = 1.0f;
  Vec2 translation_;
  ClickTracker clicks_;
  WheelInput wheel_;
  float mouseX_ = 0.0f;  // in units of the view
  float mouseY_ = 0.0f;
  int modifiers_ = 0;  // kShiftBit and the like
  bool fullscreen_ = false;
};
