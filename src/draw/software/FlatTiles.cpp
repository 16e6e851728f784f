#include "draw/software/FlatTiles.h"

#include <algorithm>
#include <cmath>

#include "draw/software/PixelBlend.h"
#include "draw/software/PixelShapes.h"

void FlatTiles::beginFrame(const ImageView& image, uint32_t rgb, bool keptFromLastFrame) {
  constexpr int size = 1 << kTileShift;
  const bool same = keptFromLastFrame && ended_ && image.pixels == image_.pixels &&
                    image.width == image_.width && image.height == image_.height &&
                    image.stride == image_.stride;
  ended_ = false;
  image_ = image;
  columns_ = image.empty() ? 0 : (image.width + size - 1) >> kTileShift;
  rows_ = image.empty() ? 0 : (image.height + size - 1) >> kTileShift;
  const size_t tiles = static_cast<size_t>(columns_) * rows_;
  if (!same) shownFlat_.assign(tiles, 0);
  shownRgb_.resize(tiles);
  rgb_.assign(tiles, rgb);
  flat_.assign(tiles, 1);
  flatCount_ = static_cast<int>(tiles);
}

PixelBox FlatTiles::tileBox(int column, int row) const {
  const int left = column << kTileShift;
  const int top = row << kTileShift;
  return {left, top, std::min(left + (1 << kTileShift), image_.width),
          std::min(top + (1 << kTileShift), image_.height)};
}

void FlatTiles::paintTile(int column, int row) {
  const size_t t = static_cast<size_t>(row) * columns_ + column;
  if (!flat_[t]) return;
  flat_[t] = 0;
  --flatCount_;
  const PixelBox b = tileBox(column, row);
  for (int y = b.top; y < b.bottom; ++y) std::fill(image_.row(y) + b.left, image_.row(y) + b.right, rgb_[t]);
}

void FlatTiles::paintUnder(const PixelBox& box) {
  if (flatCount_ == 0) return;
  const int left = std::max(box.left, 0);
  const int top = std::max(box.top, 0);
  const int right = std::min(box.right, image_.width);
  const int bottom = std::min(box.bottom, image_.height);
  if (left >= right || top >= bottom) return;
  for (int row = top >> kTileShift; row <= (bottom - 1) >> kTileShift; ++row) {
    for (int column = left >> kTileShift; column <= (right - 1) >> kTileShift; ++column)
      paintTile(column, row);
  }
}

void FlatTiles::paintRect(double x0, double y0, double x1, double y1, uint32_t rgb, int alpha) {
  const double w = image_.width;
  const double h = image_.height;
  x0 = std::max(x0, 0.0);
  y0 = std::max(y0, 0.0);
  x1 = std::min(x1, w);
  y1 = std::min(y1, h);
  if (!(x0 < x1 && y0 < y1) || alpha <= 0 || columns_ == 0) return;
  // The pixels the rectangle covers whole, which it paints at its own alpha.
  const double inLeft = std::ceil(x0), inTop = std::ceil(y0), inRight = std::floor(x1),
               inBottom = std::floor(y1);
  const SpanPainter paint(rgb, alpha);
  uint32_t lastFlat = 0, lastBlended = 0;
  bool blendedAny = false;
  const auto blended = [&](uint32_t under) {
    if (!blendedAny || under != lastFlat) {
      // Through the run itself, so that a flat tile ends as its pixels would.
      uint32_t four[4] = {under, under, under, under};
      paint.run(four, 4);
      lastFlat = under;
      lastBlended = four[0];
      blendedAny = true;
    }
    return lastBlended;
  };
  const int firstColumn = static_cast<int>(x0) >> kTileShift;
  const int lastColumn = (static_cast<int>(std::ceil(x1)) - 1) >> kTileShift;
  for (int row = static_cast<int>(y0) >> kTileShift;
       row <= (static_cast<int>(std::ceil(y1)) - 1) >> kTileShift; ++row) {
    // Tiles that need their pixels painted, gathered into runs along the row.
    int runStart = -1;
    const auto paintRun = [&](int endColumn) {
      if (runStart < 0) return;
      const PixelBox from = tileBox(runStart, row);
      const PixelBox to = tileBox(endColumn - 1, row);
      ::paintRect(image_, x0, y0, x1, y1, rgb, alpha, PixelBox{from.left, from.top, to.right, to.bottom});
      runStart = -1;
    };
    for (int column = firstColumn; column <= lastColumn; ++column) {
      const size_t t = static_cast<size_t>(row) * columns_ + column;
      const PixelBox b = tileBox(column, row);
      if (flat_[t] && b.left >= inLeft && b.right <= inRight && b.top >= inTop && b.bottom <= inBottom) {
        paintRun(column);
        rgb_[t] = blended(rgb_[t]);
        continue;
      }
      paintTile(column, row);
      if (runStart < 0) runStart = column;
    }
    paintRun(lastColumn + 1);
  }
}

void FlatTiles::endFrame() {
  ended_ = true;
  for (int row = 0; row < rows_; ++row) {
    for (int column = 0; column < columns_; ++column) {
      const size_t t = static_cast<size_t>(row) * columns_ + column;
      const bool flat = flat_[t];
      if (flat && !(shownFlat_[t] && shownRgb_[t] == rgb_[t])) paintTile(column, row);
      shownFlat_[t] = flat;
      shownRgb_[t] = rgb_[t];
    }
  }
}
