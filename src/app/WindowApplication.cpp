#include "app/WindowApplication.h"

#include "app/FrameClock.h"

WindowApplication::WindowApplication(double scale) : scale_(scale) {
  view_ = {0.0f, static_cast<float>(width_), 0.0f, static_cast<float>(height_)};
  translation_ = {width_ * 0.5f, height_ * 0.5f};
}

int WindowApplication::pixelWidth() const {
  return ViewPlacement{width_, height_, scale_}.pixelWidth();
}

int WindowApplication::pixelHeight() const {
  return ViewPlacement{width_, height_, scale_}.pixelHeight();
}

ViewTransform WindowApplication::view() const {
  ViewTransform t;
  t.view = view_;
  t.zoom = zoom_;
  t.translation = translation_;
  return t;
}

Vec2 WindowApplication::mouseWorldPosition() {
  return windowToWorld(mouseX_, mouseY_, view());
}

bool WindowApplication::isDragging() {
  return isButtonDown() && clicks_.movedFromPress(mouseX_, mouseY_);
}

bool WindowApplication::setWindowSize(float w, float h) {
  width_ = static_cast<int>(w);
  height_ = static_cast<int>(h);
  view_ = {0.0f, w, 0.0f, h};
  translation_ = {w * 0.5f, h * 0.5f};
  return true;
}

void WindowApplication::setViewCentre(float x, float y) {
  translation_ = translationForCentre(view_, x, y);
}

Vec2 WindowApplication::viewCentre() {
  return centreForTranslation(view_, translation_);
}

void WindowApplication::pointerAt(double x, double y) {
  const ViewPlacement p = placement();
  mouseX_ = static_cast<float>((x - p.left) / p.scale);
  mouseY_ = static_cast<float>((y - p.top) / p.scale);
}

void WindowApplication::leftButton(bool down) {
  const Vec2 p = mouseWorldPosition();
  if (down) {
    clicks_.press(mouseX_, mouseY_, FrameClock::realSeconds(), pressTime());
    onMouseDown(p.x, p.y);
  } else {
    clicks_.release(mouseX_, mouseY_);
    onMouseUp(p.x, p.y);
  }
}

void WindowApplication::middleButton(bool down) {
  if (down) {
    beginViewDrag(mouseX_, mouseY_);
  } else {
    endViewDrag();
  }
}

void WindowApplication::pointerMoved() {
  dragViewTo(mouseX_, mouseY_);
}
