#include "draw/software/PictureLayers.h"

#include "draw/BitmapFont.h"
#include "draw/software/PixelShapes.h"

namespace {

constexpr size_t kLargestKeptScratch = size_t{1} << 20;  // pixels

}  // namespace

void PictureLayers::clear() {
  layers_.clear();
  ops_.clear();
  edges_.clear();
  pixels_ = 0;
}

void PictureLayers::begin(const Layer& layer) {
  layers_.push_back(layer);
  layers_.back().firstOp = static_cast<uint32_t>(ops_.size());
  layers_.back().opCount = 0;
  const PixelBox& d = layer.drawn;
  pixels_ += static_cast<size_t>(d.right - d.left) * static_cast<size_t>(d.bottom - d.top);
}

void PictureLayers::add(const DrawOp& op) {
  if (layers_.empty()) return;
  ops_.push_back(op);
  ++layers_.back().opCount;
}

void PictureLayers::paint(size_t i, Scratch& scratch) const {
  const Layer& l = layers_[i];
  const int w = l.drawn.right - l.drawn.left;
  const int h = l.drawn.bottom - l.drawn.top;
  scratch.pixels.assign(static_cast<size_t>(w) * h, 0u);
  const ImageView image{scratch.pixels.data(), w, h, w};
  const PixelBox all{0, 0, w, h};
  scratch.raster.setSize(w, h);
  for (uint32_t k = 0; k < l.opCount; ++k) {
    const DrawOp& op = ops_[l.firstOp + k];
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
          const FrameRecording::Edge& edge = edges_[op.firstEdge + e];
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
