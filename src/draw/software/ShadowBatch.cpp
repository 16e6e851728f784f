#include "draw/software/ShadowBatch.h"

#include <algorithm>
#include <cstring>

#include "draw/software/PixelBlend.h"

void ShadowBatch::setSize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  coverage_.clear();
  rowFirst_.assign(height_, width_);
  rowLast_.assign(height_, -1);
  firstRow_ = height_;
  lastRow_ = -1;
  boxes_.clear();
  open_ = false;
}

void ShadowBatch::open(uint32_t rgb) {
  open_ = true;
  rgb_ = rgb;
}

void ShadowBatch::add(const uint8_t* coverage, int left, int top, int width, int height, int stride) {
  const int x0 = std::max(left, 0);
  const int x1 = std::min(left + width, width_);
  const int y0 = std::max(top, 0);
  const int y1 = std::min(top + height, height_);
  if (x0 >= x1 || y0 >= y1) return;
  if (coverage_.empty()) coverage_.assign(static_cast<size_t>(width_) * height_, 0);
  using Bytes = uint8_t __attribute__((vector_size(16)));
  using Lanes = uint16_t __attribute__((vector_size(32)));
  for (int y = y0; y < y1; ++y) {
    uint8_t* u = coverage_.data() + static_cast<size_t>(y) * width_;
    const uint8_t* c = coverage + static_cast<size_t>(y - top) * stride + (x0 - left);
    // The union of two coverages: u + c - u * c, on the 0..255 scale.
    int x = x0;
    for (; x + 16 <= x1; x += 16, c += 16) {
      Bytes a;
      Bytes b;
      std::memcpy(&a, u + x, sizeof a);
      std::memcpy(&b, c, sizeof b);
      const Lanes ua = __builtin_convertvector(a, Lanes);
      const Lanes cb = __builtin_convertvector(b, Lanes);
      a = __builtin_convertvector(ua + cb - ((ua * cb + 255) >> 8), Bytes);
      std::memcpy(u + x, &a, sizeof a);
    }
    for (; x < x1; ++x, ++c) u[x] = static_cast<uint8_t>(u[x] + *c - ((u[x] * *c + 255) >> 8));
    rowFirst_[y] = std::min(rowFirst_[y], x0);
    rowLast_[y] = std::max(rowLast_[y], x1 - 1);
  }
  firstRow_ = std::min(firstRow_, y0);
  lastRow_ = std::max(lastRow_, y1 - 1);
  boxes_.push_back(PixelBox{x0, y0, x1, y1});
}

void ShadowBatch::flush(const ImageView& image) {
  open_ = false;
  boxes_.clear();
  for (int y = firstRow_; y <= lastRow_; ++y) {
    const int first = rowFirst_[y];
    const int last = rowLast_[y];
    if (first > last) continue;
    uint8_t* u = coverage_.data() + static_cast<size_t>(y) * width_;
    coverSpan(image.row(y) + first, u + first, last - first + 1, rgb_);
    std::memset(u + first, 0, static_cast<size_t>(last - first + 1));
    rowFirst_[y] = width_;
    rowLast_[y] = -1;
  }
  firstRow_ = height_;
  lastRow_ = -1;
}
