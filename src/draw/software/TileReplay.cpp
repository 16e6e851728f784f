#include "draw/software/TileReplay.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "draw/BitmapFont.h"
#include "draw/software/DiscMaskCache.h"
#include "draw/software/PixelBlend.h"
#include "draw/software/PixelShapes.h"

namespace {

constexpr int kNoColumn = std::numeric_limits<int>::max();

void compositePicture(const ImageView& image, const DrawOp& op, const PixelBox& clip) {
  const int x0 = std::max(op.left, clip.left);
  const int x1 = std::min(op.left + op.width, clip.right);
  const int y0 = std::max(op.top, clip.top);
  const int y1 = std::min(op.top + op.height, clip.bottom);
  if (x0 >= x1) return;
  if (y0 >= y1) return;
  const auto* pixels = static_cast<const uint32_t*>(op.data);
  compositeRows(image.row(y0) + x0, static_cast<size_t>(image.stride),
                pixels + static_cast<size_t>(y0 - op.top) * op.stride + (x0 - op.left),
                static_cast<size_t>(op.stride), x1 - x0, y1 - y0);
}

}  // namespace

void paintFlat(const ImageView& image, const PixelBox& box, uint32_t rgb) {
  // Four pixels a store: a plain fill is left a pixel at a time.
  const SpanPainter fill(rgb, 256);
  for (int y = box.top; y < box.bottom; ++y) fill.run(image.row(y) + box.left, box.right - box.left);
}

void TileReplay::unflatten(const ImageView& image, const PixelBox& clip) {
  if (!flat_) return;
  flat_ = false;
  paintFlat(image, clip, rgb_);
}

TileReplay::Result TileReplay::playTiles(const ImageView& image, const FrameRecording& recording,
                                         const std::vector<Runs>& shapes, int tile, int count,
                                         uint32_t clearRgb, bool startFlat) {
  if (count == 1) return play(image, recording, shapes, tile, clearRgb, startFlat);
  recording.opsOf(tile, count, ops_);
  return play(image, recording, shapes, ops_, recording.tilesBox(tile, count), clearRgb, startFlat);
}

TileReplay::Result TileReplay::play(const ImageView& image, const FrameRecording& recording,
                                    const std::vector<Runs>& shapes, const std::vector<uint32_t>& ops,
                                    const PixelBox& clip, uint32_t clearRgb, bool startFlat) {
  flat_ = true;
  rgb_ = clearRgb;
  if (!startFlat) unflatten(image, clip);
  for (const uint32_t index : ops) {
    const DrawOp& op = recording.op(index);
    if (op.kind == DrawOp::Kind::Rect) {
      rect(image, op, clip);
      continue;
    }
    unflatten(image, clip);
    switch (op.kind) {
      case DrawOp::Kind::Rect:
        break;
      case DrawOp::Kind::Shape:
        if (op.tiles == 1) {
          // Within this tile: painted as when the frame is painted whole.
          fillShape(image, recording, op);
        } else {
          paintRuns(image, shapes[op.shape], op.rgb, clip);
        }
        break;
      case DrawOp::Kind::Disc:
        DiscMaskCache::paint(image,
                             DiscMaskCache::Placement{static_cast<const DiscMaskCache::Mask*>(op.data),
                                                      op.left, op.top, op.width, op.height},
                             SpanPainter(op.rgb, op.alpha), clip);
        break;
      case DrawOp::Kind::LargeDisc:
        paintDisc(image, op.x0, op.y0, op.x1, op.rgb, op.alpha, clip);
        break;
      case DrawOp::Kind::Glyph:
        paintGlyph(image, *static_cast<const BitmapGlyph*>(op.data), op.left, op.top, op.rgb, op.alpha, clip);
        break;
      case DrawOp::Kind::Picture:
        compositePicture(image, op, clip);
        break;
      case DrawOp::Kind::ShadowAdd:
        addShadow(op, clip);
        break;
      case DrawOp::Kind::ShadowFlush:
        layShadows(&image, op.rgb, clip);
        break;
    }
  }
  // Shadows never laid (a frame ended inside a picture, before its shadows
  // were) are not laid: the next tile starts with none, in its own shape.
  if (shadowsPending_) layShadows(nullptr, 0, clip);
  return {flat_, rgb_};
}

// As the rectangle painted whole: a tile it covers whole while the tile is
// still a colour only changes the colour, blended as its pixels would be.
void TileReplay::rect(const ImageView& image, const DrawOp& op, const PixelBox& clip) {
  const double x0 = std::max(op.x0, 0.0);
  const double y0 = std::max(op.y0, 0.0);
  const double x1 = std::min(op.x1, static_cast<double>(image.width));
  const double y1 = std::min(op.y1, static_cast<double>(image.height));
  if (!(x0 < x1 && y0 < y1) || op.alpha <= 0) return;
  if (flat_ && clip.left >= std::ceil(x0) && clip.right <= std::floor(x1) && clip.top >= std::ceil(y0) &&
      clip.bottom <= std::floor(y1)) {
    uint32_t four[4] = {rgb_, rgb_, rgb_, rgb_};
    SpanPainter(op.rgb, op.alpha).run(four, 4);
    rgb_ = four[0];
    return;
  }
  unflatten(image, clip);
  paintRect(image, x0, y0, x1, y1, op.rgb, op.alpha, clip);
}

void TileReplay::fillShape(const ImageView& image, const FrameRecording& recording, const DrawOp& op) {
  raster_.setSize(image.width, image.height);
  raster_.beginShape(op.x0, op.y0, op.x1, op.y1);
  const FrameRecording::Edge* edges = recording.edgesOf(op);
  for (uint32_t i = 0; i < op.edgeCount; ++i)
    raster_.addEdge(edges[i].x0, edges[i].y0, edges[i].x1, edges[i].y1);
  raster_.fill(image, op.rgb, op.alpha);
}

void TileReplay::rasterize(const ImageView& image, const FrameRecording& recording, const DrawOp& op,
                           Runs& runs) {
  runs.clear();
  raster_.setSize(image.width, image.height);
  raster_.beginShape(op.x0, op.y0, op.x1, op.y1);
  const FrameRecording::Edge* edges = recording.edgesOf(op);
  for (uint32_t i = 0; i < op.edgeCount; ++i)
    raster_.addEdge(edges[i].x0, edges[i].y0, edges[i].x1, edges[i].y1);
  raster_.takeRuns(op.alpha, runs);
}

// The union of two coverages, u + c - u * c on the 0..255 scale, as the
// shadows of one colour are laid: once, by the union of theirs.
void TileReplay::addShadow(const DrawOp& op, const PixelBox& clip) {
  const int w = clip.right - clip.left;
  const int h = clip.bottom - clip.top;
  // Tiles differ in shape (those at the frame's edges, a whole frame
  // painted as one): a tile of fewer pixels may still have more rows.
  if (shadow_.size() < static_cast<size_t>(w) * h) shadow_.assign(static_cast<size_t>(w) * h, 0);
  if (shadowFirst_.size() < static_cast<size_t>(h)) {
    shadowFirst_.resize(static_cast<size_t>(h), kNoColumn);
    shadowLast_.resize(static_cast<size_t>(h), -1);
  }
  const int x0 = std::max(op.left, clip.left);
  const int x1 = std::min(op.left + op.width, clip.right);
  const int y0 = std::max(op.top, clip.top);
  const int y1 = std::min(op.top + op.height, clip.bottom);
  if (x0 >= x1 || y0 >= y1) return;
  shadowsPending_ = true;
  const auto* coverage = static_cast<const uint8_t*>(op.data);
  using Bytes = uint8_t __attribute__((vector_size(16)));
  using Lanes = uint16_t __attribute__((vector_size(32)));
  for (int y = y0; y < y1; ++y) {
    const int r = y - clip.top;
    uint8_t* u = shadow_.data() + static_cast<size_t>(r) * w - clip.left;
    const uint8_t* c = coverage + static_cast<size_t>(y - op.top) * op.stride + (x0 - op.left);
    int x = x0;
    for (; x + 16 <= x1; x += 16, c += 16) {
      Bytes a;
      Bytes b;
      std::memcpy(&a, u + x, sizeof a);
      std::memcpy(&b, c, sizeof b);
      uint64_t any[2];
      std::memcpy(any, &b, sizeof any);
      if ((any[0] | any[1]) == 0) continue;  // the shadow's empty corners add nothing
      const Lanes ua = __builtin_convertvector(a, Lanes);
      const Lanes cb = __builtin_convertvector(b, Lanes);
      a = __builtin_convertvector(ua + cb - ((ua * cb + 255) >> 8), Bytes);
      std::memcpy(u + x, &a, sizeof a);
    }
    for (; x < x1; ++x, ++c) u[x] = static_cast<uint8_t>(u[x] + *c - ((u[x] * *c + 255) >> 8));
    shadowFirst_[static_cast<size_t>(r)] = std::min(shadowFirst_[static_cast<size_t>(r)], x0);
    shadowLast_[static_cast<size_t>(r)] = std::max(shadowLast_[static_cast<size_t>(r)], x1 - 1);
  }
}

void TileReplay::layShadows(const ImageView* image, uint32_t rgb, const PixelBox& clip) {
  const int w = clip.right - clip.left;
  const int h = clip.bottom - clip.top;
  if (shadowFirst_.size() < static_cast<size_t>(h)) return;  // nothing was added
  for (int r = 0; r < h; ++r) {
    int& first = shadowFirst_[static_cast<size_t>(r)];
    int& last = shadowLast_[static_cast<size_t>(r)];
    if (first > last) continue;
    uint8_t* u = shadow_.data() + static_cast<size_t>(r) * w - clip.left;
    if (image) coverSpan(image->row(clip.top + r) + first, u + first, last - first + 1, rgb);
    std::memset(u + first, 0, static_cast<size_t>(last - first + 1));
    first = kNoColumn;
    last = -1;
  }
  shadowsPending_ = false;
}
