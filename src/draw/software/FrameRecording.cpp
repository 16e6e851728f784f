#include "draw/software/FrameRecording.h"

#include <algorithm>
#include <cstring>

uint64_t mixDigest(uint64_t digest, uint64_t word) {
  uint64_t h = (digest ^ word) * 0x9E3779B97F4A7C15ull;
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  return h ^ (h >> 32);
}

namespace {

// One word into one lane of a digest: a multiply, a rotation and a
// multiply, so that lanes side by side do not wait on each other.
uint64_t digestRound(uint64_t lane, uint64_t word) {
  lane += word * 0xC2B2AE3D27D4EB4Full;
  lane = lane << 31 | lane >> 33;
  return lane * 0x9E3779B185EBCA87ull;
}

}  // namespace

uint64_t doubleBits(double v) {
  uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

void FrameRecording::begin(int width, int height, int tileShift, uint64_t seed) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  tileWidth_ = tileShift > 0 ? 1 << tileShift : std::max(width_, 1);
  tileHeight_ = tileShift > 0 ? 1 << tileShift : std::max(height_, 1);
  columns_ = width_ == 0 || height_ == 0 ? 0 : (width_ + tileWidth_ - 1) / tileWidth_;
  rows_ = columns_ == 0 ? 0 : (height_ + tileHeight_ - 1) / tileHeight_;
  const size_t tiles = static_cast<size_t>(columns_) * rows_;
  if (tiles_.size() < tiles) tiles_.resize(tiles);
  for (size_t t = 0; t < tiles; ++t) tiles_[t].clear();
  if (rowOps_.size() < static_cast<size_t>(rows_)) rowOps_.resize(static_cast<size_t>(rows_));
  for (int r = 0; r < rows_; ++r) rowOps_[static_cast<size_t>(r)].clear();
  digests_.assign(tiles, seed);
  shadowBatchOf_.assign(tiles, 0);
  shadowTiles_.clear();
  ops_.clear();
  edges_.clear();
  shapes_ = 0;
}

PixelBox FrameRecording::tileBox(int tile) const {
  const int left = tile % columns_ * tileWidth_;
  const int top = tile / columns_ * tileHeight_;
  return {left, top, std::min(left + tileWidth_, width_), std::min(top + tileHeight_, height_)};
}

PixelBox FrameRecording::tilesBox(int tile, int count) const {
  const PixelBox first = tileBox(tile);
  return {first.left, first.top, std::min(first.left + count * tileWidth_, width_), first.bottom};
}

void FrameRecording::opsOf(int tile, int count, std::vector<uint32_t>& ops) const {
  ops.clear();
  const int first = tile % columns_;
  const int last = first + count - 1;
  // A shadows' flush is filed tile by tile: its entries lie side by side.
  for (const RowEntry& e : rowOps_[static_cast<size_t>(tile / columns_)]) {
    if (e.first <= last && e.last >= first && (ops.empty() || ops.back() != e.index)) ops.push_back(e.index);
  }
}

void FrameRecording::file(uint32_t index, int tile, uint64_t digest) {
  tiles_[static_cast<size_t>(tile)].push_back(index);
  uint64_t& d = digests_[static_cast<size_t>(tile)];
  d = mixDigest(d, digest);
}

uint32_t FrameRecording::add(const DrawOp& op, const PixelBox& box, uint64_t identity) {
  const int left = std::max(box.left, 0);
  const int top = std::max(box.top, 0);
  const int right = std::min(box.right, width_);
  const int bottom = std::min(box.bottom, height_);
  if (left >= right || top >= bottom) return kNotFiled;
  uint64_t d = mixDigest(static_cast<uint64_t>(op.kind), identity);
  d = mixDigest(d, uint64_t{op.rgb} << 32 | static_cast<uint32_t>(op.alpha));
  for (const double v : {op.x0, op.y0, op.x1, op.y1}) d = mixDigest(d, doubleBits(v));
  // A picture's identity says where its pixels lie too: one laid on before
  // they were made (see placePixels) digests as it will when shown again.
  if (op.kind != DrawOp::Kind::Picture && op.kind != DrawOp::Kind::ShadowAdd) {
    d = mixDigest(
        d, static_cast<uint64_t>(static_cast<uint32_t>(op.left)) << 32 | static_cast<uint32_t>(op.top));
    d = mixDigest(
        d, static_cast<uint64_t>(static_cast<uint32_t>(op.width)) << 32 | static_cast<uint32_t>(op.height));
    d = mixDigest(d, static_cast<uint64_t>(static_cast<uint32_t>(op.stride)));
  }
  if (op.edgeCount > 0) {
    // A shape's edges are most of what a frame digests: a lane for each
    // coordinate, folded in at the end, lets the four run side by side.
    uint64_t lanes[4] = {d, d + 1, d + 2, d + 3};
    for (uint32_t e = 0; e < op.edgeCount; ++e) {
      const Edge& edge = edges_[op.firstEdge + e];
      lanes[0] = digestRound(lanes[0], doubleBits(edge.x0));
      lanes[1] = digestRound(lanes[1], doubleBits(edge.y0));
      lanes[2] = digestRound(lanes[2], doubleBits(edge.x1));
      lanes[3] = digestRound(lanes[3], doubleBits(edge.y1));
    }
    for (const uint64_t lane : lanes) d = mixDigest(d, lane);
  }
  const auto index = static_cast<uint32_t>(ops_.size());
  ops_.push_back(op);
  if (op.kind == DrawOp::Kind::Shape) ops_.back().shape = shapes_++;
  ops_.back().digest = d;
  ops_.back().tiles = static_cast<uint32_t>(((bottom - 1) / tileHeight_ - top / tileHeight_ + 1) *
                                            ((right - 1) / tileWidth_ - left / tileWidth_ + 1));
  const bool shadow = op.kind == DrawOp::Kind::ShadowAdd;
  for (int row = top / tileHeight_; row <= (bottom - 1) / tileHeight_; ++row) {
    rowOps_[static_cast<size_t>(row)].push_back({index, left / tileWidth_, (right - 1) / tileWidth_});
    for (int column = left / tileWidth_; column <= (right - 1) / tileWidth_; ++column) {
      const int tile = row * columns_ + column;
      file(index, tile, d);
      if (shadow && shadowBatchOf_[static_cast<size_t>(tile)] != shadowBatch_) {
        shadowBatchOf_[static_cast<size_t>(tile)] = shadowBatch_;
        shadowTiles_.push_back(tile);
      }
    }
  }
  return index;
}

void FrameRecording::placePixels(uint32_t index, int left, int top, int width, int height, const void* data) {
  DrawOp& op = ops_[index];
  op.left = left;
  op.top = top;
  op.width = width;
  op.height = height;
  op.stride = width;
  op.data = data;
}

void FrameRecording::closeShadows(uint32_t rgb) {
  ++shadowBatch_;
  if (shadowTiles_.empty()) return;
  DrawOp flush;
  flush.kind = DrawOp::Kind::ShadowFlush;
  flush.rgb = rgb;
  const auto index = static_cast<uint32_t>(ops_.size());
  ops_.push_back(flush);
  const uint64_t d = mixDigest(static_cast<uint64_t>(flush.kind), rgb);
  for (const int tile : shadowTiles_) {
    file(index, tile, d);
    const int column = tile % columns_;
    rowOps_[static_cast<size_t>(tile / columns_)].push_back({index, column, column});
  }
  shadowTiles_.clear();
}
