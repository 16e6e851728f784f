#include "app/GameClient.h"

#include "app/Application.h"

Rect GameClient::viewRect() {
  return app_ ? app_->viewRect() : Rect{};
}
GlutMenu* GameClient::menu() {
  return app_ ? app_->menu() : nullptr;
}

Vec2 GameClient::mouseWorldPosition() {
  return app_ ? app_->mouseWorldPosition() : Vec2{};
}
bool GameClient::isButtonDown() {
  return app_ && app_->isButtonDown();
}
Vec2 GameClient::pressPosition() {
  return app_ ? app_->pressPosition() : Vec2{};
}
float GameClient::pressTime() {
  return app_ ? app_->pressTime() : 0.0f;
}
bool GameClient::isDoubleClick() {
  return app_ && app_->isDoubleClick();
}
bool GameClient::isClickInPlace() {
  return app_ && app_->isClickInPlace();
}
bool GameClient::isDragging() {
  return app_ && app_->isDragging();
}
bool GameClient::isShiftDown() {
  return app_ && app_->isShiftDown();
}
bool GameClient::isCtrlDown() {
  return app_ && app_->isCtrlDown();
}
bool GameClient::isAltDown() {
  return app_ && app_->isAltDown();
}

void GameClient::renderFrame() {
  if (app_) app_->renderFrame();
}

bool GameClient::setWindowSize(float w, float h) {
  return app_ && app_->setWindowSize(w, h);
}

void GameClient::setCursor(int shape) {
  if (app_) app_->setCursor(shape);
}

void GameClient::reservedHook() {
  if (app_) app_->reservedHook();
}

void GameClient::reservedHook(int value) {
  if (app_) app_->reservedHook(value);
}
