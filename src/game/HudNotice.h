#pragma once

#include <string>

// A short line of text under the field, beside the population, that answers
// a command the player cannot otherwise see the outcome of (saving the
// tuning). It shows for a few seconds of the frame clock, then fades out.
class HudNotice {
 public:
  static constexpr float kShownSeconds = 4.0f;
  static constexpr float kFadeSeconds = 0.5f;

  // A problem is drawn in red, anything else in the HUD's grey.
  void show(std::string text, bool problem, float now, float seconds = kShownSeconds);
  // Right-aligned to rightX on the baseline y, in the font selected, but
  // never left of leftX; nothing once it has faded.
  void draw(float rightX, float y, float now, float leftX) const;
  bool isShown(float now) const;
  // Whether the picture of it changes from frame to frame: while it fades.
  bool isFading(float now) const;

 private:
  std::string text_;
  bool problem_ = false;
  float shownAt_ = 0.0f;
  float seconds_ = kShownSeconds;
};
