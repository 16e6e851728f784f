#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/ViewPlacement.h"

// The about box as the platforms that draw it themselves show it: the text
// wrapped to the box in the font it is drawn with at the box's scale, and
// an OK button below. The button, Return or Escape closes it.
class AboutBoxLayout {
 public:
  // The box's background.
  static constexpr uint32_t kBackgroundRgb = 0xF0F0F0;

  // scale: window pixels a unit.
  AboutBoxLayout(const std::string& text, double scale);

  // The box fills its window at its scale.
  ViewPlacement placement() const { return {width_, height_, scale_}; }
  // The text and the button, through the drawing toolkit, between the
  // renderer's beginFrame and endFrame.
  void draw() const;
  // Window pixels.
  void mouseDown(int x, int y);
  void mouseUp(int x, int y);
  void key(int code);
  bool dismissed() const { return dismissed_; }
  void dismiss() { dismissed_ = true; }

 private:
  bool onButton(int x, int y) const;

  double scale_;
  std::vector<std::string> lines_;
  int width_;
  int height_ = 0;
  int buttonX_ = 0;
  int buttonY_ = 0;
  bool pressedOnButton_ = false;
  bool dismissed_ = false;
};
