#include "doubles/ScriptedApplication.h"

#include <cmath>

#include "app/FrameClock.h"

ScriptedClock::ScriptedClock(uint32_t startMilliseconds)
    : clock_(startMilliseconds), previousSource_(millisecondSource()) {
  setMillisecondSource(&clock_);
  FrameClock::resetForTesting();
}

ScriptedClock::~ScriptedClock() {
  setMillisecondSource(previousSource_);
  FrameClock::resetForTesting();
}

ScriptedApplication::ScriptedApplication(uint32_t startMilliseconds)
    : ScriptedClock(startMilliseconds),
      WindowApplication(1.0),
      previousGlobal_(globalApplication()),
      menu_(menuBackend_) {
  setGlobalApplication(this);
  if (!installedDrawBackend()) {
    setDrawBackend(&nothing_);
    drawsNowhere_ = true;
  }
}

ScriptedApplication::~ScriptedApplication() {
  if (globalApplication() == this) setGlobalApplication(previousGlobal_);
  if (drawsNowhere_ && installedDrawBackend() == &nothing_) setDrawBackend(nullptr);
}

void ScriptedApplication::onFrame() {
  ++frames_;
  Application::onFrame();
}

Vec2 ScriptedApplication::mouseWorldPosition() {
  return worldPinned_ ? pinnedWorld_ : WindowApplication::mouseWorldPosition();
}

bool ScriptedApplication::setWindowSize(float w, float h) {
  worldPinned_ = false;
  return WindowApplication::setWindowSize(w, h);
}

void ScriptedApplication::setViewCentre(float x, float y) {
  WindowApplication::setViewCentre(x, y);
  worldPinned_ = false;
}

void ScriptedApplication::setZoom(float zoom) {
  WindowApplication::setZoom(zoom);
  worldPinned_ = false;  // the pixel stays put, so the world under it moves
}

void ScriptedApplication::advanceSeconds(float seconds) {
  clock_.advance(static_cast<uint32_t>(std::lround(seconds * 1000.0f)));
}

uint32_t ScriptedApplication::frameIntervalMilliseconds() const {
  return static_cast<uint32_t>(std::ceil(frameInterval() * 1000.0f));
}

bool ScriptedApplication::pace() {
  if (!takeDueFrame()) return false;
  onFrame();
  return true;
}

bool ScriptedApplication::stepFrame() {
  clock_.advance(frameIntervalMilliseconds());
  return pace();
}

void ScriptedApplication::tick() {
  clock_.advance(frameIntervalMilliseconds());
  // The schedule is strict ("<"), so a whole interval may fall just short.
  for (int extra = 0; extra < 1000 && !takeDueFrame(); ++extra) clock_.advance(1);
  onFrame();
}

void ScriptedApplication::tick(int count) {
  for (int i = 0; i < count; ++i) tick();
}

void ScriptedApplication::setMousePixel(float x, float y) {
  mouseX_ = x;
  mouseY_ = y;
  worldPinned_ = false;
}

void ScriptedApplication::setMouseWorld(float x, float y) {
  // The inverse of windowToWorld, so the pixel is right for click tracking.
  const ViewTransform t = view();
  const float hw = static_cast<float>(static_cast<int>(t.view.maxX - t.view.minX) / 2);
  const float hh = static_cast<float>(static_cast<int>(t.view.maxY - t.view.minY) / 2);
  mouseX_ = ((x - (hw - t.translation.x) - hw) * t.zoom + hw) / t.pixelScale;
  mouseY_ = ((y - (hh - t.translation.y) - hh) * t.zoom + hh) / t.pixelScale;
  worldPinned_ = true;
  pinnedWorld_ = {x, y};
}

void ScriptedApplication::pressButton() {
  leftButton(true);
}

void ScriptedApplication::releaseButton() {
  leftButton(false);
}

void ScriptedApplication::clickAtWorld(float x, float y) {
  setMouseWorld(x, y);
  pressButton();
  releaseButton();
}

void ScriptedApplication::setModifiers(bool shift, bool ctrl, bool alt) {
  modifiers_ = (shift ? kShiftBit : 0) | (ctrl ? kCtrlBit : 0) | (alt ? kAltBit : 0);
}

void ScriptedApplication::pressKey(unsigned char key) {
  onKey(mapKeyboardKey(key, modifiers_));
}

ScriptedApplication::Snapshot ScriptedApplication::snapshot() const {
  return {clock_.milliseconds(), lastFrameTime_, pressTime_, pressPosition_,
          lastMousePosition_,    buttonDown_,    mouseX_,    mouseY_,
          worldPinned_,          pinnedWorld_,   modifiers_, clicks_};
}

void ScriptedApplication::restore(const Snapshot& s) {
  clock_.set(s.milliseconds);
  lastFrameTime_ = s.lastFrameTime;
  pressTime_ = s.pressTime;
  pressPosition_ = s.pressPosition;
  lastMousePosition_ = s.lastMousePosition;
  buttonDown_ = s.buttonDown;
  mouseX_ = s.mouseX;
  mouseY_ = s.mouseY;
  worldPinned_ = s.worldPinned;
  pinnedWorld_ = s.pinnedWorld;
  modifiers_ = s.modifiers;
  clicks_ = s.clicks;
}
