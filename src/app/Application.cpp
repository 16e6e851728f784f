#include "app/Application.h"

#include "app/FrameClock.h"
#include "app/GameClient.h"
#include "app/ViewMove.h"

namespace {
Application* theApplication = nullptr;
}

Application* globalApplication() {
  return theApplication;
}
void setGlobalApplication(Application* app) {
  theApplication = app;
}

Application::Application() {
  FrameClock::start();
  lastFrameTime_ = FrameClock::realSeconds();
  // A second in the past, so the first press can never complete a double click.
  pressTime_ = FrameClock::realSeconds() - 1.0f;
}

Application::~Application() {
  // Menu picks and window callbacks must not reach a destroyed application.
  if (theApplication == this) theApplication = nullptr;
}

bool Application::takeDueFrame() {
  const float now = FrameClock::realSeconds();
  if (!(lastFrameTime_ + frameInterval_ < now)) return false;
  if (now - lastFrameTime_ > 2.0f * frameInterval_) {
    lastFrameTime_ = now;  // too far behind: drop the backlog instead of replaying it
  } else {
    lastFrameTime_ += frameInterval_;  // fixed step keeps the schedule from drifting
  }
  return true;
}

float Application::secondsUntilNextFrame() const {
  const float wait = lastFrameTime_ + frameInterval_ - FrameClock::realSeconds();
  return wait > 0.0f ? wait : 0.0f;
}

void Application::onMenuCommand(int id) {
  if (client_) client_->onMenuCommand(id);
}

void Application::onMouseDown(float x, float y) {
  const float now = FrameClock::realSeconds();
  // A press whose release never arrived is closed first.
  if (buttonDown_) onMouseUp(x, y);
  pressTime_ = now;
  pressPosition_ = {x, y};
  buttonDown_ = true;
  if (client_) client_->onMouseDown(x, y);
}

void Application::onMouseUp(float x, float y) {
  buttonDown_ = false;
  if (client_) client_->onMouseUp(x, y);
}

void Application::onKey(int code) {
  if (client_) client_->onKey(code);
}

void Application::onFrame() {
  const Vec2 p = mouseWorldPosition();
  const Vec2 d = p - lastMousePosition_;
  if (d.x != 0.0f || d.y != 0.0f) onMouseMove(d.x, d.y);
  lastMousePosition_ = p;
  if (client_) client_->onFrame();
}

void Application::onDraw() {
  if (client_) client_->onDraw();
}

void Application::onMouseMove(float dx, float dy) {
  if (client_) client_->onMouseMove(dx, dy);
}

void Application::onWheel(float step) {
  if (client_) client_->onWheel(step);
}

void Application::onReserved(int a, int b) {
  if (client_) client_->onReserved(a, b);
}

void Application::renderFrame() {
  if (!visible_) return;
  beginDraw();
  if (client_) client_->onDraw();
  endDraw();
}

bool Application::setWindowSize(float, float) {
  return false;
}

void Application::setFrameRate(int fps) {
  lastFrameTime_ = FrameClock::realSeconds();
  frameInterval_ = 1.0f / static_cast<float>(fps);
}

void Application::moveViewBy(float dx, float dy) {
  const float z = zoom();
  const Vec2 c = viewCentre();
  const Vec2 moved = clampViewCentre(viewRect(), z, {c.x + dx / z, c.y + dy / z});
  setViewCentre(moved.x, moved.y);
}

void Application::keepViewOnField() {
  const Vec2 kept = clampViewCentre(viewRect(), zoom(), viewCentre());
  setViewCentre(kept.x, kept.y);
}

void Application::beginViewDrag(float x, float y) {
  viewDragging_ = true;
  viewDragAt_ = {x, y};
  if (client_) client_->onOtherButton();
}

void Application::dragViewTo(float x, float y) {
  if (!viewDragging_) return;
  moveViewBy(viewDragAt_.x - x, viewDragAt_.y - y);
  viewDragAt_ = {x, y};
}

void Application::onClose() {
  if (client_) client_->onClose();
}
