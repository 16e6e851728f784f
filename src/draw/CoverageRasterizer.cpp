#include "draw/CoverageRasterizer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "draw/PixelBlend.h"

void CoverageRasterizer::setSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  // Two cells beyond the last pixel take what edges on the right border add.
  stride_ = width + 2;
  cells_.assign(static_cast<size_t>(stride_) * height, 0.0f);
  rowFirst_.assign(height, stride_);
  rowLast_.assign(height, -1);
  top_ = height;
  bottom_ = -1;
}

void CoverageRasterizer::addEdge(double x0, double y0, double x1, double y1) {
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return;
  const double w = width_;
  const double h = height_;
  if (y0 == y1 || !(y0 < h || y1 < h) || !(y0 > 0.0 || y1 > 0.0)) return;
  // Rows above or below the image take nothing from the parts outside them.
  const double dy = y1 - y0;
  const double ya = std::clamp(y0, 0.0, h);
  const double yb = std::clamp(y1, 0.0, h);
  const double xa = ya == y0 ? x0 : x0 + (ya - y0) * ((x1 - x0) / dy);
  const double xb = yb == y1 ? x1 : x0 + (yb - y0) * ((x1 - x0) / dy);

  // Split where the edge crosses the left or right border. A piece beyond
  // a border is laid along it: left of the image it still adds its winding
  // to every pixel of the row, right of it to none, which is what the
  // unclipped piece would have done.
  double splitT[2];
  int splits = 0;
  for (const double border : {0.0, w}) {
    if ((xa < border && xb > border) || (xa > border && xb < border)) {
      splitT[splits++] = (border - xa) / (xb - xa);
    }
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
  const float w = static_cast<float>(width_);
  const float dxdy = (x1 - x0) / (y1 - y0);
  const int firstRow = static_cast<int>(y0);
  const int endRow = std::min(height_, static_cast<int>(std::ceil(y1)));
  top_ = std::min(top_, firstRow);
  bottom_ = std::max(bottom_, endRow - 1);
  float x = x0;
  for (int y = firstRow; y < endRow; ++y) {
    float* row = cells_.data() + static_cast<size_t>(y) * stride_;
    const float rowTop = static_cast<float>(y);
    const float dy = std::min(rowTop + 1.0f, y1) - std::max(rowTop, y0);
    const float xNext = std::clamp(x + dxdy * dy, 0.0f, w);
    const float d = dy * direction;
    const float left = std::min(x, xNext);
    const float right = std::max(x, xNext);
    const float leftFloor = std::floor(left);
    const int leftCell = static_cast<int>(leftFloor);
    const float rightCeil = std::ceil(right);
    const int rightCell = static_cast<int>(rightCeil);
    int last;
    if (rightCell <= leftCell + 1) {
      // Within one cell: its share is the part left of the edge's middle.
      const float middle = 0.5f * (x + xNext) - leftFloor;
      row[leftCell] += d - d * middle;
      row[leftCell + 1] += d * middle;
      last = leftCell + 1;
    } else {
      const float s = 1.0f / (right - left);
      const float leftFrac = left - leftFloor;
      const float firstArea = 0.5f * s * (1.0f - leftFrac) * (1.0f - leftFrac);
      const float rightFrac = right - rightCeil + 1.0f;
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
      last = rightCell;
    }
    rowFirst_[y] = std::min(rowFirst_[y], leftCell);
    rowLast_[y] = std::max(rowLast_[y], last);
    x = xNext;
  }
}

template <class Cell>
void CoverageRasterizer::sweep(Cell&& cell) {
  for (int y = top_; y <= bottom_; ++y) {
    const int first = rowFirst_[y];
    const int last = rowLast_[y];
    if (first > last) continue;
    float* row = cells_.data() + static_cast<size_t>(y) * stride_;
    const int visibleEnd = std::min(last + 1, width_);
    float sum = 0.0f;
    int x = first;
    for (; x < visibleEnd; ++x) {
      sum += row[x];
      row[x] = 0.0f;
      const float c = std::fabs(sum);
      cell(x, y, c < 1.0f ? c : 1.0f);
    }
    for (; x <= last; ++x) row[x] = 0.0f;
    rowFirst_[y] = stride_;
    rowLast_[y] = -1;
  }
  top_ = height_;
  bottom_ = -1;
}

void CoverageRasterizer::fill(const ImageView& image, uint32_t rgb, int alpha) {
  const float scale = static_cast<float>(alpha);
  uint32_t* row = nullptr;
  int rowY = -1;
  sweep([&](int x, int y, float coverage) {
    if (y != rowY) {
      row = image.row(y);
      rowY = y;
    }
    const int a = static_cast<int>(coverage * scale + 0.5f);
    if (a >= 256) {
      row[x] = rgb;
    } else if (a > 0) {
      row[x] = blendPixel(row[x], rgb, static_cast<uint32_t>(a));
    }
  });
}

void CoverageRasterizer::clear() {
  sweep([](int, int, float) {});
}

std::vector<float> CoverageRasterizer::takeCoverage() {
  std::vector<float> coverage(static_cast<size_t>(width_) * height_, 0.0f);
  sweep([&](int x, int y, float c) { coverage[static_cast<size_t>(y) * width_ + x] = c; });
  return coverage;
}
