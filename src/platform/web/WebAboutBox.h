#pragma once

#include <string>
#include <vector>

class CanvasRenderer;

// The about box the game starts with, drawn on the page's canvas as the
// desktop draws its window: the text, wrapped to the box, and an OK button.
// The OK button, Return or Escape closes it.
class WebAboutBox {
 public:
  WebAboutBox(const std::string& text, double scale);

  int pixelWidth() const { return pixels(width_); }
  int pixelHeight() const { return pixels(height_); }
  void draw(CanvasRenderer& renderer) const;
  // Canvas pixels.
  void mouseDown(int x, int y);
  void mouseUp(int x, int y);
  void key(int code);
  bool dismissed() const { return dismissed_; }

 private:
  int pixels(int units) const;
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
