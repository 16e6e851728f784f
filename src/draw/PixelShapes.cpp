#include "draw/PixelShapes.h"

#include <algorithm>
#include <cmath>

#include "draw/PixelBlend.h"

namespace {

int scaledAlpha(int alpha, double coverage) {
  return static_cast<int>(alpha * coverage + 0.5);
}

void paintPixel(uint32_t& pixel, uint32_t rgb, int alpha) {
  if (alpha >= 256) {
    pixel = rgb;
  } else if (alpha > 0) {
    pixel = blendPixel(pixel, rgb, static_cast<uint32_t>(alpha));
  }
}

// The pixel column or row whose centre is the first at or after v, or the
// last at or before it, clamped to [0, limit - 1] before it becomes an int.
int firstCentreFrom(double v, int limit) {
  return static_cast<int>(std::clamp(std::ceil(v - 0.5), 0.0, static_cast<double>(limit)));
}
int lastCentreTo(double v, int limit) {
  return static_cast<int>(std::clamp(std::floor(v - 0.5), -1.0, static_cast<double>(limit - 1)));
}

}  // namespace

void paintRect(const ImageView& image, double x0, double y0, double x1, double y1, uint32_t rgb, int alpha) {
  x0 = std::max(x0, 0.0);
  y0 = std::max(y0, 0.0);
  x1 = std::min(x1, static_cast<double>(image.width));
  y1 = std::min(y1, static_cast<double>(image.height));
  if (!(x0 < x1 && y0 < y1) || alpha <= 0) return;
  const int left = static_cast<int>(std::floor(x0));
  const int right = static_cast<int>(std::ceil(x1)) - 1;
  const int top = static_cast<int>(std::floor(y0));
  const int bottom = static_cast<int>(std::ceil(y1)) - 1;
  const double leftCover = left == right ? x1 - x0 : left + 1 - x0;
  const double rightCover = x1 - right;
  for (int y = top; y <= bottom; ++y) {
    const double rowCover = std::min(y + 1.0, y1) - std::max(static_cast<double>(y), y0);
    uint32_t* row = image.row(y);
    paintPixel(row[left], rgb, scaledAlpha(alpha, rowCover * leftCover));
    if (right == left) continue;
    paintSpan(row + left + 1, right - left - 1, rgb, scaledAlpha(alpha, rowCover));
    paintPixel(row[right], rgb, scaledAlpha(alpha, rowCover * rightCover));
  }
}

void paintDisc(const ImageView& image, double cx, double cy, double r, uint32_t rgb, int alpha) {
  if (!(r > 0.0) || alpha <= 0) return;
  const double outer = r + 0.5;
  const double inner = r - 0.5;
  const int top = firstCentreFrom(cy - outer, image.height);
  const int bottom = lastCentreTo(cy + outer, image.height);
  for (int y = top; y <= bottom; ++y) {
    const double dy = y + 0.5 - cy;
    const double dy2 = dy * dy;
    if (dy2 >= outer * outer) continue;
    const double half = std::sqrt(outer * outer - dy2);
    const int left = firstCentreFrom(cx - half, image.width);
    const int right = lastCentreTo(cx + half, image.width);
    // Pixels whose centre lies within r - 0.5 are covered whole.
    int solidLeft = right + 1;
    int solidRight = right;
    if (inner > 0.0 && dy2 < inner * inner) {
      const double solidHalf = std::sqrt(inner * inner - dy2);
      solidLeft = std::max(left, firstCentreFrom(cx - solidHalf, image.width));
      solidRight = std::min(right, lastCentreTo(cx + solidHalf, image.width));
      if (solidLeft > solidRight) solidLeft = solidRight + 1;
    }
    uint32_t* row = image.row(y);
    const auto edge = [&](int x) {
      const double dx = x + 0.5 - cx;
      const double coverage = std::clamp(outer - std::sqrt(dx * dx + dy2), 0.0, 1.0);
      paintPixel(row[x], rgb, scaledAlpha(alpha, coverage));
    };
    for (int x = left; x < solidLeft && x <= right; ++x) edge(x);
    if (solidLeft <= solidRight) paintSpan(row + solidLeft, solidRight - solidLeft + 1, rgb, alpha);
    for (int x = std::max(solidRight + 1, solidLeft); x <= right; ++x) edge(x);
  }
}
