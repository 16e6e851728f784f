#include "draw/software/DiscMaskCache.h"

#include <algorithm>
#include <cmath>

#include "draw/software/PixelBlend.h"
#include "draw/software/PixelShapes.h"

namespace {

constexpr int kSubpixels = 4;              // centre positions across a pixel
constexpr int kRadiusSteps = 16;           // radii per pixel
constexpr size_t kBudgetBytes = 2u << 20;  // stale masks are dropped beyond this
constexpr int kRadiusKeys = static_cast<int>(DiscMaskCache::kLargestRadius * kRadiusSteps) + 1;

int keyOf(int radiusSixteenths, int quarterX, int quarterY) {
  return (radiusSixteenths * kSubpixels + quarterY) * kSubpixels + quarterX;
}

}  // namespace

// A disc centred in pixel (0, 0) at a quarter-pixel offset: its rows from
// top to top + rows - 1, and in each the columns it covers, those among them
// covered whole, and the coverage (0..256) of every column from left.
struct DiscMaskCache::Mask {
  struct Row {
    int left = 0;
    int right = -1;
    int solidLeft = 0;  // solidLeft > solidRight when no pixel is whole
    int solidRight = -1;
  };
  int top = 0;
  int left = 0;
  int width = 0;
  std::vector<Row> rows;
  std::vector<uint8_t> coverage;  // rows * width, 0..255
  unsigned lastUsed = 0;          // frame
  size_t bytes() const { return sizeof(Mask) + rows.size() * sizeof(Row) + coverage.size(); }
};

DiscMaskCache::DiscMaskCache() : masks_(static_cast<size_t>(kRadiusKeys) * kSubpixels * kSubpixels) {}
DiscMaskCache::~DiscMaskCache() = default;

void DiscMaskCache::nextFrame() {
  ++frame_;
  sweptThisFrame_ = false;
}

void DiscMaskCache::dropStale() {
  sweptThisFrame_ = true;
  for (std::unique_ptr<Mask>& m : masks_) {
    if (m && m->lastUsed + 1 < frame_) {
      bytes_ -= m->bytes();
      m.reset();
    }
  }
}

const DiscMaskCache::Mask& DiscMaskCache::mask(int radiusSixteenths, int quarterX, int quarterY) {
  std::unique_ptr<Mask>& slot = masks_[static_cast<size_t>(keyOf(radiusSixteenths, quarterX, quarterY))];
  if (slot) {
    slot->lastUsed = frame_;
    return *slot;
  }
  if (bytes_ > kBudgetBytes && !sweptThisFrame_) dropStale();
  // Drawn once with paintDisc's own coverage into a scratch image of
  // coverage values: white on black, read back from the blue channel.
  const float r = static_cast<float>(radiusSixteenths) / kRadiusSteps;
  const float fx = (quarterX + 0.5f) / kSubpixels;
  const float fy = (quarterY + 0.5f) / kSubpixels;
  const int reach = static_cast<int>(std::ceil(r + 1.0f)) + 1;
  const int size = 2 * reach + 1;
  std::vector<uint32_t> scratch(static_cast<size_t>(size) * size, 0u);
  const ImageView view{scratch.data(), size, size, size};
  paintDisc(view, reach + fx, reach + fy, r, 0x0000FFu, 256);

  auto m = std::make_unique<Mask>();
  m->top = -reach;
  m->left = -reach;
  m->width = size;
  m->rows.resize(static_cast<size_t>(size));
  m->coverage.resize(static_cast<size_t>(size) * size);
  for (int y = 0; y < size; ++y) {
    Mask::Row& row = m->rows[static_cast<size_t>(y)];
    row.left = size;
    row.solidLeft = size;
    for (int x = 0; x < size; ++x) {
      const uint32_t c = scratch[static_cast<size_t>(y) * size + x] & 0xFFu;
      m->coverage[static_cast<size_t>(y) * size + x] = static_cast<uint8_t>(c);
      if (c == 0) continue;
      row.left = std::min(row.left, x);
      row.right = x;
      if (c == 255) {
        row.solidLeft = std::min(row.solidLeft, x);
        row.solidRight = x;
      }
    }
  }
  m->lastUsed = frame_;
  bytes_ += m->bytes();
  slot = std::move(m);
  return *slot;
}

void DiscMaskCache::paint(const ImageView& image, double cx, double cy, double r, const SpanPainter& paint) {
  if (!(r > 0.0) || paint.alpha() <= 0) return;
  const PixelBox whole{0, 0, image.width, image.height};
  if (r > kLargestRadius) {
    paintDisc(image, cx, cy, r, paint.rgb(), paint.alpha(), whole);
    return;
  }
  DiscMaskCache::paint(image, place(cx, cy, r, image.width, image.height), paint, whole);
}

DiscMaskCache::Placement DiscMaskCache::place(double cx, double cy, double r, int imageWidth,
                                              int imageHeight) {
  if (!(r > 0.0) || r > kLargestRadius) return {};
  // The centre's pixel and quarter within it; a centre far outside the
  // image paints nothing and must not overflow on the way.
  const double limit = imageWidth + imageHeight + 2 * kLargestRadius + 4;
  if (!(std::fabs(cx) < limit && std::fabs(cy) < limit)) return {};
  const auto qx = static_cast<long>(std::floor(cx * kSubpixels));
  const auto qy = static_cast<long>(std::floor(cy * kSubpixels));
  const Mask& m = mask(static_cast<int>(std::lround(r * kRadiusSteps)), static_cast<int>(qx & 3),
                       static_cast<int>(qy & 3));
  return {&m, static_cast<int>(qx >> 2) + m.left, static_cast<int>(qy >> 2) + m.top, m.width,
          static_cast<int>(m.rows.size())};
}

void DiscMaskCache::paint(const ImageView& image, const Placement& placement, const SpanPainter& paint,
                          const PixelBox& clip) {
  if (!placement.mask || paint.alpha() <= 0) return;
  const Mask& m = *placement.mask;
  const int alpha = paint.alpha();
  const int originX = placement.x;
  const int firstRow = std::max(0, clip.top - placement.y);
  const int endRow = std::min(static_cast<int>(m.rows.size()), clip.bottom - placement.y);
  for (int i = firstRow; i < endRow; ++i) {
    const int y = placement.y + i;
    const Mask::Row& row = m.rows[static_cast<size_t>(i)];
    if (row.left > row.right) continue;
    const int first = std::max(row.left, clip.left - originX);
    const int last = std::min(row.right, clip.right - 1 - originX);
    if (first > last) continue;
    uint32_t* out = image.row(y) + originX;
    const uint8_t* coverage = m.coverage.data() + static_cast<size_t>(i) * m.width;
    // Coverage 0..255 as 0..256, times the paint's alpha.
    const auto alphaAt = [&](int x) { return ((coverage[x] + (coverage[x] >> 7)) * alpha + 128) >> 8; };
    int x = first;
    const int solidLeft = std::max(row.solidLeft, first);
    const int solidRight = std::min(row.solidRight, last);
    if (solidLeft <= solidRight) {
      for (; x < solidLeft; ++x) paint.pixelAt(out[x], alphaAt(x));
      paint.run(out + solidLeft, solidRight - solidLeft + 1);
      x = solidRight + 1;
    }
    for (; x <= last; ++x) paint.pixelAt(out[x], alphaAt(x));
  }
}
