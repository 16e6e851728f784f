#pragma once

#include <cmath>

// Where the view of width x height units sits in a window: drawn at scale
// window pixels a unit, its top left corner at window pixel (left, top).
struct ViewPlacement {
  int width = 800;
  int height = 800;
  double scale = 1.0;
  int left = 0;
  int top = 0;

  int pixelWidth() const { return static_cast<int>(std::lround(width * scale)); }
  int pixelHeight() const { return static_cast<int>(std::lround(height * scale)); }
  bool operator==(const ViewPlacement& o) const {
    return width == o.width && height == o.height && scale == o.scale && left == o.left && top == o.top;
  }
};

// The largest scale at which a view of width x height units fits a window of
// windowWidth x windowHeight pixels; 0 when either has no size.
double scaleToFit(int width, int height, int windowWidth, int windowHeight);

// The view at scale, centred in the window (never beyond its left or top).
ViewPlacement centredView(int width, int height, double scale, int windowWidth, int windowHeight);
