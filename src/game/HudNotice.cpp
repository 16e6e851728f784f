#include "game/HudNotice.h"

#include <algorithm>
#include <utility>

#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Text.h"

void HudNotice::show(std::string text, bool problem, float now, float seconds) {
  text_ = std::move(text);
  seconds_ = seconds;
  problem_ = problem;
  shownAt_ = now;
}

bool HudNotice::isShown(float now) const {
  // A clock that went backwards (a fresh start in tests) shows nothing stale.
  const float age = now - shownAt_;
  return !text_.empty() && age >= 0.0f && age < seconds_;
}

bool HudNotice::isFading(float now) const {
  return isShown(now) && now - shownAt_ >= seconds_ - kFadeSeconds;
}

void HudNotice::draw(float rightX, float y, float now, float leftX) const {
  if (!isShown(now)) return;
  const float left = seconds_ - (now - shownAt_);
  setAlpha(left < kFadeSeconds ? left / kFadeSeconds : 1.0f);
  setColor(problem_ ? kRed : Color3{0.5f, 0.5f, 0.5f});
  drawText(std::max(rightX - textWidth("%s", text_.c_str()), leftX), y, "%s", text_.c_str());
  setAlpha(1.0f);
}
