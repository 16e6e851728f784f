#include "draw/software/CoverageRasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "draw/software/PixelBlend.h"

namespace {
// A row's first touched cell before any is touched.
constexpr int kNoCell = std::numeric_limits<int>::max();
}  // namespace

void CoverageRasterizer::setSize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  setBox(0, 0, width_, height_);
}

void CoverageRasterizer::setBox(int left, int top, int right, int bottom) {
  left_ = left;
  top_ = top;
  boxWidth_ = std::max(right - left, 0);
  boxHeight_ = std::max(bottom - top, 0);
  // Two cells beyond a row's last pixel take what edges on its right add.
  stride_ = boxWidth_ + 2;
  blocksPerRow_ = (stride_ >> kBlockShift) + 1;
  firstRow_ = boxHeight_;
  lastRow_ = -1;
}

// The cells grow to the largest box a shape has needed, not to the image:
// most shapes are small. Every cell is empty between shapes, so any layout
// of them will do for the next.
void CoverageRasterizer::reserveBox() {
  const size_t cells = static_cast<size_t>(stride_) * boxHeight_;
  if (cells_.size() < cells) cells_.resize(cells, 0.0f);
  const size_t blocks = static_cast<size_t>(blocksPerRow_) * boxHeight_;
  if (blockTouched_.size() < blocks) blockTouched_.resize(blocks, 0);
  if (rowFirst_.size() < static_cast<size_t>(boxHeight_)) {
    rowFirst_.resize(boxHeight_, kNoCell);
    rowLast_.resize(boxHeight_, -1);
  }
}

void CoverageRasterizer::beginShape(double minX, double minY, double maxX, double maxY) {
  // A box that is not one (NaN, or min beyond max) is an empty one.
  if (std::isnan(minX) || std::isnan(minY) || std::isnan(maxX) || std::isnan(maxY)) {
    setBox(0, 0, 0, 0);
    return;
  }
  const auto pixel = [](double v, int limit) {
    return static_cast<int>(std::clamp(v, 0.0, static_cast<double>(limit)));
  };
  const int right = pixel(std::ceil(maxX), width_);
  const int bottom = pixel(std::ceil(maxY), height_);
  setBox(std::min(pixel(std::floor(minX), width_), right), std::min(pixel(std::floor(minY), height_), bottom),
         right, bottom);
}

void CoverageRasterizer::addEdge(double x0, double y0, double x1, double y1) {
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return;
  x0 -= left_;
  x1 -= left_;
  y0 -= top_;
  y1 -= top_;
  const double w = boxWidth_;
  const double h = boxHeight_;
  if (y0 == y1 || !(y0 < h || y1 < h) || !(y0 > 0.0 || y1 > 0.0)) return;
  reserveBox();
  // Rows above or below the box take nothing from the parts outside them.
  const double dy = y1 - y0;
  const double ya = std::clamp(y0, 0.0, h);
  const double yb = std::clamp(y1, 0.0, h);
  const double xa = ya == y0 ? x0 : x0 + (ya - y0) * ((x1 - x0) / dy);
  const double xb = yb == y1 ? x1 : x0 + (yb - y0) * ((x1 - x0) / dy);

  // Split where the edge crosses the left or right side. A piece beyond a
  // side is laid along it: left of the box it still adds its winding to
  // every pixel of the row, right of it to none, which is what the
  // unclipped piece would have done.
  double splitT[2];
  int splits = 0;
  for (const double side : {0.0, w}) {
    if ((xa < side && xb > side) || (xa > side && xb < side)) splitT[splits++] = (side - xa) / (xb - xa);
  }
  if (splits == 2 && splitT[0] > splitT[1]) std::swap(splitT[0], splitT[1]);
  double px = xa;
  double py = ya;
  for (int i = 0; i <= splits; ++i) {
    const double t = i < splits ? splitT[i] : 1.0;
    const double qx = i < splits ? xa + t * (xb - xa) : xb;
    const double qy = i < splits ? ya + t * (yb - ya) : yb;
    addInsideEdge(static_cast<float>(std::clamp(px, 0.0, w)), static_cast<float>(py),
                  static_cast<float>(std::clamp(qx, 0.0, w)), static_cast<float>(qy));
    px = qx;
    py = qy;
  }
}

inline void CoverageRasterizer::touch(int y, int firstCell, int lastCell) {
  rowFirst_[y] = std::min(rowFirst_[y], firstCell);
  rowLast_[y] = std::max(rowLast_[y], lastCell);
  uint8_t* blocks = blockTouched_.data() + static_cast<size_t>(y) * blocksPerRow_;
  for (int b = firstCell >> kBlockShift; b <= lastCell >> kBlockShift; ++b) blocks[b] = 1;
}

// The signed area an edge adds to each cell of each row it crosses, as in
// the accumulation rasterizers of font renderers: a cell gets the area
// between the edge and the cell's right side, and the cells to its right the
// rest of the row's winding, so that a running sum gives the coverage.
void CoverageRasterizer::addInsideEdge(float x0, float y0, float x1, float y1) {
  if (y0 == y1) return;
  float direction = 1.0f;
  if (y0 > y1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
    direction = -1.0f;
  }
  const float w = static_cast<float>(boxWidth_);
  const float dxdy = (x1 - x0) / (y1 - y0);
  const int firstRow = static_cast<int>(y0);
  const int endRow = std::min(boxHeight_, static_cast<int>(std::ceil(y1)));
  firstRow_ = std::min(firstRow_, firstRow);
  lastRow_ = std::max(lastRow_, endRow - 1);

  // One row's share of the edge, from x to xNext over a height of d (signed
  // by the direction). Every x here is at least 0, so truncation floors.
  const auto addRow = [&](int y, float x, float xNext, float d) {
    float* row = cells_.data() + static_cast<size_t>(y) * stride_;
    const float left = std::min(x, xNext);
    const float right = std::max(x, xNext);
    const int leftCell = static_cast<int>(left);
    const auto leftFloor = static_cast<float>(leftCell);
    int rightCell = static_cast<int>(right);
    if (static_cast<float>(rightCell) < right) ++rightCell;
    if (rightCell <= leftCell + 1) {
      // Within one cell: its share is the part left of the edge's middle.
      const float middle = 0.5f * (x + xNext) - leftFloor;
      row[leftCell] += d - d * middle;
      row[leftCell + 1] += d * middle;
      touch(y, leftCell, leftCell + 1);
      return;
    }
    const float s = 1.0f / (right - left);
    const float leftFrac = left - leftFloor;
    const float firstArea = 0.5f * s * (1.0f - leftFrac) * (1.0f - leftFrac);
    const float rightFrac = right - static_cast<float>(rightCell) + 1.0f;
    const float lastArea = 0.5f * s * rightFrac * rightFrac;
    row[leftCell] += d * firstArea;
    if (rightCell == leftCell + 2) {
      row[leftCell + 1] += d * (1.0f - firstArea - lastArea);
    } else {
      const float secondArea = s * (1.5f - leftFrac);
      row[leftCell + 1] += d * (secondArea - firstArea);
      for (int c = leftCell + 2; c < rightCell - 1; ++c) row[c] += d * s;
      const float beforeLast = secondArea + static_cast<float>(rightCell - leftCell - 3) * s;
      row[rightCell - 1] += d * (1.0f - beforeLast - lastArea);
    }
    row[rightCell] += d * lastArea;
    touch(y, leftCell, rightCell);
  };

  // The first and last rows may be partly crossed; those between, whole.
  float x = x0;
  for (int y = firstRow; y < endRow; ++y) {
    const auto rowTop = static_cast<float>(y);
    const bool whole = rowTop >= y0 && rowTop + 1.0f <= y1;
    const float dy = whole ? 1.0f : std::min(rowTop + 1.0f, y1) - std::max(rowTop, y0);
    const float xNext = std::clamp(x + (whole ? dxdy : dxdy * dy), 0.0f, w);
    addRow(y, x, xNext, whole ? direction : dy * direction);
    x = xNext;
  }
}

template <class CellFn, class RunFn>
void CoverageRasterizer::sweep(CellFn&& cell, RunFn&& run) {
  for (int y = firstRow_; y <= lastRow_; ++y) {
    const int first = rowFirst_[y];
    const int last = rowLast_[y];
    if (first > last) continue;
    float* row = cells_.data() + static_cast<size_t>(y) * stride_;
    uint8_t* blocks = blockTouched_.data() + static_cast<size_t>(y) * blocksPerRow_;
    const int imageY = top_ + y;
    float sum = 0.0f;
    for (int x = first; x <= last;) {
      const int block = x >> kBlockShift;
      if (!blocks[block]) {
        // No edge up to the next touched block: the coverage stays what the
        // cells before made it. The inside of an outline is one such run.
        const int lastBlock = last >> kBlockShift;
        const void* next = std::memchr(blocks + block + 1, 1, static_cast<size_t>(lastBlock - block));
        const int runEnd =
            next ? std::min(static_cast<int>(static_cast<const uint8_t*>(next) - blocks) << kBlockShift,
                            last + 1)
                 : last + 1;
        const int visibleEnd = std::min(runEnd, boxWidth_);
        const float c = std::fabs(sum);
        if (x < visibleEnd) run(left_ + x, imageY, visibleEnd - x, c < 1.0f ? c : 1.0f);
        x = runEnd;
        continue;
      }
      const int blockEnd = std::min((block + 1) << kBlockShift, last + 1);
      const int visibleEnd = std::min(blockEnd, boxWidth_);
      blocks[block] = 0;
      for (; x < blockEnd; ++x) {
        sum += row[x];
        row[x] = 0.0f;
        if (x < visibleEnd) {
          const float c = std::fabs(sum);
          cell(left_ + x, imageY, c < 1.0f ? c : 1.0f);
        }
      }
    }
    rowFirst_[y] = kNoCell;
    rowLast_[y] = -1;
  }
  // The next shape may lie anywhere until it says where.
  setBox(0, 0, width_, height_);
}

void CoverageRasterizer::fill(const ImageView& image, uint32_t rgb, int alpha) {
  const SpanPainter paint(rgb, alpha);
  const auto scale = static_cast<float>(paint.alpha());
  sweep(
      [&](int x, int y, float coverage) {
        const int a = static_cast<int>(coverage * scale + 0.5f);
        if (a <= 0) return;
        paint.pixelAt(image.at(x, y), a);
      },
      [&](int x, int y, int count, float coverage) {
        const int a = static_cast<int>(coverage * alpha + 0.5f);
        if (a <= 0) return;
        if (a == alpha) {
          paint.run(image.row(y) + x, count);
        } else {
          SpanPainter(rgb, a).run(image.row(y) + x, count);
        }
      });
}

void CoverageRasterizer::takeRuns(int alpha, std::vector<Run>& runs) {
  // The alphas exactly as fill works them out.
  const auto scale = static_cast<float>(std::clamp(alpha, 0, 256));
  const auto add = [&runs](int x, int y, int count, int a) {
    if (!runs.empty()) {
      Run& last = runs.back();
      if (last.y == y && last.x + last.count == x && last.a == a) {
        last.count += count;
        return;
      }
    }
    runs.push_back({y, x, count, a});
  };
  sweep(
      [&](int x, int y, float coverage) {
        const int a = static_cast<int>(coverage * scale + 0.5f);
        if (a > 0) add(x, y, 1, a);
      },
      [&](int x, int y, int count, float coverage) {
        const int a = static_cast<int>(coverage * alpha + 0.5f);
        if (a > 0) add(x, y, count, a);
      });
}

void paintRuns(const ImageView& image, const std::vector<CoverageRasterizer::Run>& runs, uint32_t rgb,
               const PixelBox& clip) {
  const auto from = std::lower_bound(runs.begin(), runs.end(), clip.top,
                                     [](const CoverageRasterizer::Run& r, int y) { return r.y < y; });
  // Most runs longer than a pixel are at the shape's own alpha: its paint
  // is made again only when the alpha changes.
  SpanPainter painter(rgb, 256);
  for (auto r = from; r != runs.end() && r->y < clip.bottom; ++r) {
    const int x0 = std::max(r->x, clip.left);
    const int x1 = std::min(r->x + r->count, clip.right);
    if (x0 >= x1) continue;
    uint32_t* row = image.row(r->y);
    if (x1 - x0 == 1) {
      row[x0] = r->a >= 256 ? rgb : blendPixel(row[x0], rgb, static_cast<uint32_t>(r->a));
    } else {
      if (painter.alpha() != r->a) painter = SpanPainter(rgb, r->a);
      painter.run(row + x0, x1 - x0);
    }
  }
}

void CoverageRasterizer::clear() {
  sweep([](int, int, float) {}, [](int, int, int, float) {});
}

std::vector<float> CoverageRasterizer::takeCoverage() {
  std::vector<float> coverage(static_cast<size_t>(width_) * height_, 0.0f);
  const auto at = [&](int x, int y) { return coverage.begin() + static_cast<ptrdiff_t>(y) * width_ + x; };
  sweep([&](int x, int y, float c) { *at(x, y) = c; },
        [&](int x, int y, int count, float c) { std::fill_n(at(x, y), count, c); });
  return coverage;
}
