#include "draw/software/PictureLayers.h"

#include <cstring>

#include "draw/BitmapFont.h"
#include "draw/software/PixelShapes.h"

namespace {

constexpr size_t kLargestKeptScratch = size_t{1} << 20;  // pixels

}  // namespace

void PictureLayers::clear() {
  count_ = 0;
  pixels_ = 0;
}

void PictureLayers::begin(PictureCache::Picture* picture, const PixelBox& drawn, const PixelBox& whole) {
  if (count_ == layers_.size()) layers_.push_back(std::make_unique<Layer>());
  Layer& l = *layers_[count_++];
  l.picture = picture;
  l.drawn = drawn;
  l.whole = whole;
  l.ops.clear();
  l.edges.clear();
  pixels_ += static_cast<size_t>(drawn.right - drawn.left) * static_cast<size_t>(drawn.bottom - drawn.top);
}

void PictureLayers::add(const DrawOp& op) {
  if (count_ > 0) layers_[count_ - 1]->ops.push_back(op);
}

void PictureLayers::paint(const Layer& l, Scratch& scratch) {
  const int w = l.drawn.right - l.drawn.left;
  const int h = l.drawn.bottom - l.drawn.top;
  // Cleared in one sweep: assign stores a pixel at a time.
  const size_t n = static_cast<size_t>(w) * h;
  if (scratch.pixels.size() < n) scratch.pixels.resize(n);
  std::memset(scratch.pixels.data(), 0, n * sizeof(uint32_t));
  const ImageView image{scratch.pixels.data(), w, h, w};
  const PixelBox all{0, 0, w, h};
  scratch.raster.setSize(w, h);
  for (const DrawOp& op : l.ops) {
    switch (op.kind) {
      case DrawOp::Kind::Rect:
        paintRect(image, op.x0, op.y0, op.x1, op.y1, op.rgb, op.alpha);
        break;
      case DrawOp::Kind::LargeDisc:
        paintDisc(image, op.x0, op.y0, op.x1, op.rgb, op.alpha);
        break;
      case DrawOp::Kind::Glyph:
        paintGlyph(image, *static_cast<const BitmapGlyph*>(op.data), op.left, op.top, op.rgb, op.alpha, all);
        break;
      case DrawOp::Kind::Shape:
        scratch.raster.beginShape(op.x0, op.y0, op.x1, op.y1);
        for (uint32_t e = 0; e < op.edgeCount; ++e) {
          const FrameRecording::Edge& edge = l.edges[op.firstEdge + e];
          scratch.raster.addEdge(edge.x0, edge.y0, edge.x1, edge.y1);
        }
        scratch.raster.fill(image, op.rgb, op.alpha);
        break;
      default:  // the others are never drawn into a layer
        break;
    }
  }
  PictureCache::Picture& p = *l.picture;
  PictureCache::take(p, PictureKey(p.key), PictureState(p.state), image, l.drawn.left, l.drawn.top);
  // Layers as large as a frame are rare (a picture over the whole field),
  // and every thread has a scratch: their memory is not kept.
  if (scratch.pixels.capacity() > kLargestKeptScratch) std::vector<uint32_t>().swap(scratch.pixels);
  // Painted up to a side its bounds set, not the margin.
  const PixelBox& d = l.drawn;
  p.cut = p.width > 0 &&
          ((p.left == d.left && d.left == l.whole.left) || (p.top == d.top && d.top == l.whole.top) ||
           (p.left + p.width == d.right && d.right == l.whole.right) ||
           (p.top + p.height == d.bottom && d.bottom == l.whole.bottom));
}
