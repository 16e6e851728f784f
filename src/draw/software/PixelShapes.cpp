#include "draw/software/PixelShapes.h"

#include <algorithm>
#include <cmath>

#include "draw/software/PixelBlend.h"

namespace {

// The pixel column or row whose centre is the first at or after v, or the
// last at or before it, clamped to [0, limit - 1] before it becomes an int.
int firstCentreFrom(float v, int limit) {
  return static_cast<int>(std::clamp(std::ceil(v - 0.5f), 0.0f, static_cast<float>(limit)));
}
int lastCentreTo(float v, int limit) {
  return static_cast<int>(std::clamp(std::floor(v - 0.5f), -1.0f, static_cast<float>(limit - 1)));
}

}  // namespace

void paintRect(const ImageView& image, double x0, double y0, double x1, double y1, uint32_t rgb, int alpha) {
  paintRect(image, x0, y0, x1, y1, rgb, alpha, PixelBox{0, 0, image.width, image.height});
}

void paintRect(const ImageView& image, double x0, double y0, double x1, double y1, uint32_t rgb, int alpha,
               const PixelBox& clip) {
  x0 = std::max(x0, 0.0);
  y0 = std::max(y0, 0.0);
  x1 = std::min(x1, static_cast<double>(image.width));
  y1 = std::min(y1, static_cast<double>(image.height));
  if (!(x0 < x1 && y0 < y1) || alpha <= 0) return;
  const SpanPainter paint(rgb, alpha);
  // Coverage comes from the whole rectangle; the clip only picks pixels.
  const int left = static_cast<int>(std::floor(x0));
  const int right = static_cast<int>(std::ceil(x1)) - 1;
  const int top = static_cast<int>(std::floor(y0));
  const int bottom = static_cast<int>(std::ceil(y1)) - 1;
  const float leftCover = static_cast<float>(left == right ? x1 - x0 : left + 1 - x0);
  const float rightCover = static_cast<float>(x1 - right);
  const bool leftShown = left >= clip.left && left < clip.right;
  const bool rightShown = right != left && right >= clip.left && right < clip.right;
  const int runFrom = std::max(left + 1, clip.left);
  const int runTo = std::min(right, clip.right);  // past the run's end
  for (int y = std::max(top, clip.top); y <= std::min(bottom, clip.bottom - 1); ++y) {
    const float rowCover = static_cast<float>(std::min(y + 1.0, y1) - std::max(static_cast<double>(y), y0));
    uint32_t* row = image.row(y);
    if (leftShown) paint.pixel(row[left], rowCover * leftCover);
    if (rightShown) paint.pixel(row[right], rowCover * rightCover);
    if (runFrom >= runTo) continue;
    const int rowAlpha = static_cast<int>(alpha * rowCover + 0.5f);
    if (rowAlpha == alpha) {
      paint.run(row + runFrom, runTo - runFrom);
    } else if (rowAlpha > 0) {
      SpanPainter(rgb, rowAlpha).run(row + runFrom, runTo - runFrom);
    }
  }
}

void paintDisc(const ImageView& image, double cx, double cy, double r, uint32_t rgb, int alpha) {
  paintDisc(image, cx, cy, r, rgb, alpha, PixelBox{0, 0, image.width, image.height});
}

void paintDisc(const ImageView& image, double centreX, double centreY, double radius, uint32_t rgb, int alpha,
               const PixelBox& clip) {
  if (!(radius > 0.0) || alpha <= 0) return;
  const SpanPainter paint(rgb, alpha);
  // Float is plenty within an image, and its square root is the cheaper.
  const auto cx = static_cast<float>(centreX);
  const auto cy = static_cast<float>(centreY);
  const auto r = static_cast<float>(radius);
  const float outer = r + 0.5f;
  const float inner = r - 0.5f;
  // Each pixel's coverage comes from the whole disc; the clip only picks pixels.
  const int top = std::max(firstCentreFrom(cy - outer, image.height), clip.top);
  const int bottom = std::min(lastCentreTo(cy + outer, image.height), clip.bottom - 1);
  for (int y = top; y <= bottom; ++y) {
    const float dy = static_cast<float>(y) + 0.5f - cy;
    const float dy2 = dy * dy;
    if (dy2 >= outer * outer) continue;
    const float half = std::sqrt(outer * outer - dy2);
    const int left = std::max(firstCentreFrom(cx - half, image.width), clip.left);
    const int right = std::min(lastCentreTo(cx + half, image.width), clip.right - 1);
    // Pixels whose centre lies within r - 0.5 are covered whole.
    int solidLeft = right + 1;
    int solidRight = right;
    if (inner > 0.0f && dy2 < inner * inner) {
      const float solidHalf = std::sqrt(inner * inner - dy2);
      solidLeft = std::max(left, firstCentreFrom(cx - solidHalf, image.width));
      solidRight = std::min(right, lastCentreTo(cx + solidHalf, image.width));
      if (solidLeft > solidRight) solidLeft = solidRight + 1;
    }
    uint32_t* row = image.row(y);
    const auto edge = [&](int x) {
      const float dx = static_cast<float>(x) + 0.5f - cx;
      paint.pixel(row[x], std::clamp(outer - std::sqrt(dx * dx + dy2), 0.0f, 1.0f));
    };
    for (int x = left; x < solidLeft && x <= right; ++x) edge(x);
    if (solidLeft <= solidRight) paint.run(row + solidLeft, solidRight - solidLeft + 1);
    for (int x = std::max({solidRight + 1, solidLeft, left}); x <= right; ++x) edge(x);
  }
}

void paintGlyph(const ImageView& image, const BitmapGlyph& g, int left, int lowest, uint32_t rgb, int alpha,
                const PixelBox& clip) {
  if (alpha <= 0) return;
  const int from = std::max(0, clip.left - left);
  const int to = std::min(g.width, clip.right - left);
  for (int rowUp = 0; rowUp < g.height; ++rowUp) {
    const int y = lowest - rowUp;
    if (y < clip.top || y >= clip.bottom) continue;
    uint32_t* row = image.row(y);
    for (int column = from; column < to; ++column) {
      if (!g.isLit(column, rowUp)) continue;
      uint32_t& p = row[left + column];
      p = alpha >= 256 ? rgb : blendPixel(p, rgb, static_cast<uint32_t>(alpha));
    }
  }
}
