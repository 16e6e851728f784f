#include <cmath>

#include "app/Application.h"
#include "app/FrameClock.h"
#include "game/Game.h"
#include "world/Maths.h"
#include "world/Random.h"
#include "world/WorldObject.h"
#include "world/Zone.h"

namespace {
constexpr int kCreepAttackOdds = 1800;
constexpr int kDayLength = 960;
constexpr float kDayStep = 1.0f / 960;
constexpr float kZoomBase = 1.2f;
}  // namespace

void Game::onFrame() {
  if (needsDrawing()) renderFrame();
  const std::string failed = autosave.onFrame(*this, FrameClock::realSeconds(), paused);
  if (!failed.empty()) showOutcome(failed, true);
  if (autosave.takeSaved()) app_->onFileSaved(kAutosaveFileName);
  if (paused) {
    stepZoom();  // the view still follows the wheel
    return;
  }
  const int ticks = fast ? kFastTicks : 1;
  for (int i = 0; i < ticks; ++i) tick(i == 0);
}

Game::Look Game::look() {
  Look l;
  l.zoom = app_->zoom();
  l.centre = app_->viewCentre();
  l.mouse = mouseWorldPosition();
  l.buttonDown = isButtonDown();
  const float now = FrameClock::realSeconds();
  l.notices = notice.isShown(now) || hint.isShown(now);
  return l;
}

bool Game::needsDrawing() {
  if (app_->takeRedrawRequest()) drawAsked_ = true;
  const float now = FrameClock::realSeconds();
  const Look seen = look();
  // Notices fade on the real clock, paused or not.
  const bool changing = !paused || drawAsked_ || notice.isFading(now) || hint.isFading(now);
  if (!changing && seen == lastDrawn_) return false;
  // A hidden window draws nothing: the frame is owed until it shows again.
  drawAsked_ = !app_->isVisible();
  lastDrawn_ = seen;
  return true;
}

void Game::tick(bool firstOfFrame) {
  if (held) {
    const Vec2 p = mouseWorldPosition();
    held->onDrop(p.x, p.y);
  }

  if (frameCounter < kLatestFrame) frameCounter += 1;

  if (nextRandom() % kCreepAttackOdds == 0) creepAttack();

  mouseVelocity = scaled(mouseVelocity, 0.5f);

  if (displayedMoney < money) {
    displayedMoney += (money - displayedMoney) * 0.1f;
  } else if (displayedMoney > money) {
    displayedMoney -= 0.01f;
  }

  if (firstOfFrame) stepZoom();

  updateWorld();

  const float phase = static_cast<float>(frameCounter % kDayLength) * kDayStep;
  const float b = phase < 0.5f ? 2.0f * phase : 1.0f - 2.0f * (phase - 0.5f);
  daylight = 1.0f - (1.0f - b) * (1.0f - b);
}

void Game::stepZoom() {
  const int step = app_->readWheel();
  if (step > 0) zoomLevel += 1;
  if (step < 0) zoomLevel -= 1;
  if (zoomLevel < 0) zoomLevel = 0;
  if (zoomLevel > 8) zoomLevel = 8;
  const float target = static_cast<float>(maths::pow(static_cast<double>(kZoomBase), zoomLevel));
  const float current = app_->zoom();
  app_->setZoom(std::fabs(current - target) < 0.01f ? target : current + (target - current) * 0.5f);
  // Zooming out pulls the view back over the field, to its middle at step 0.
  app_->keepViewOnField();
}

void Game::updateWorld() {
  const bool buttonDown = isButtonDown();
  const Vec2 mouse = mouseWorldPosition();
  WorldObject* object = worldHead;
  while (object) {
    // Read the link first: the object may delete itself, and objects created
    // during the walk land at the head and wait for the next tick.
    WorldObject* following = object->next;
    if (!object->inactive) {
      object->mouseDown = buttonDown;
      object->mousePos = mouse;
      object->settleStep();
      object->update();
      if (object->destroyRequested) {
        if (object == held) {
          held = nullptr;
          mode = 0;
        }
        if (object == tool) tool = nullptr;
        if (object == zone) zone = nullptr;
        delete object;
      }
    }
    object = following;
  }
}
