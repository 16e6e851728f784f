#include "app/InputMapping.h"

int mapKeyboardKey(unsigned char key, int modifiers) {
  unsigned char c = key;
  if (modifiers & kCtrlBit) {
    c = static_cast<unsigned char>(c + 96);  // control codes 1..26 back to "a".."z"
    if ((modifiers & kShiftBit) && c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - ('a' - 'A'));
  }
  if (c == 127) c = 8;
  return c;
}

Vec2 windowToWorld(float px, float py, const ViewTransform& t) {
  const int hw = static_cast<int>(t.view.maxX - t.view.minX) / 2;
  const int hh = static_cast<int>(t.view.maxY - t.view.minY) / 2;
  const float fw = static_cast<float>(hw);
  const float fh = static_cast<float>(hh);
  return {((px * t.pixelScale - fw) / t.zoom + fw) + (fw - t.translation.x),
          ((py * t.pixelScale - fh) / t.zoom + fh) + (fh - t.translation.y)};
}

Vec2 translationForCentre(const Rect& view, float x, float y) {
  const float cx = (view.maxX - view.minX) * 0.5f;
  const float cy = (view.maxY - view.minY) * 0.5f;
  return {2.0f * cx - x, 2.0f * cy - y};
}

Vec2 centreForTranslation(const Rect& view, Vec2 translation) {
  const float cx = (view.maxX - view.minX) * 0.5f;
  const float cy = (view.maxY - view.minY) * 0.5f;
  return {2.0f * cx - translation.x, 2.0f * cy - translation.y};
}

void ClickTracker::press(float x, float y, float now, float lastPressTime) {
  doubleClick_ = !doubleClick_ && x == pressX_ && y == pressY_ && now - lastPressTime < kDoubleClickSeconds;
  pressX_ = x;
  pressY_ = y;
}

void ClickTracker::release(float x, float y) {
  clickInPlace_ = x == pressX_ && y == pressY_;
}
