#include "app/ViewPlacement.h"

#include <algorithm>

double scaleToFit(int width, int height, int windowWidth, int windowHeight) {
  if (width <= 0 || height <= 0) return 0.0;
  return std::max(0.0, std::min(windowWidth * 1.0 / width, windowHeight * 1.0 / height));
}

ViewPlacement centredView(int width, int height, double scale, int windowWidth, int windowHeight) {
  ViewPlacement p;
  p.width = width;
  p.height = height;
  p.scale = scale;
  p.left = std::max(0, (windowWidth - p.pixelWidth()) / 2);
  p.top = std::max(0, (windowHeight - p.pixelHeight()) / 2);
  return p;
}
