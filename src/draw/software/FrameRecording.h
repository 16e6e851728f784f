#pragma once

#include <cstdint>
#include <vector>

#include "draw/ImageView.h"

// One thing a frame paints, in image pixels, as the frame's tiles play it
// back: the calls of the software backend once the view, the colours and
// the kept pictures have been worked out.
struct DrawOp {
  enum class Kind : uint8_t {
    Rect,         // x0..y1: the rectangle (paintRect)
    Shape,        // x0..y1: the box given the rasterizer; edgeCount edges from firstEdge; shape: its number
    Disc,         // data: the disc's mask, left and top where it lies
    LargeDisc,    // x0, y0: the centre; x1: the radius (paintDisc)
    Glyph,        // data: the BitmapGlyph; left: its first column; top: its lowest row
    Picture,      // data: premultiplied pixels, width by height at (left, top)
    ShadowAdd,    // data: coverage bytes, width by height of rows of stride, at (left, top)
    ShadowFlush,  // lays the shadows added since the last flush in rgb
  };
  Kind kind = Kind::Rect;
  uint32_t rgb = 0;
  int alpha = 256;
  double x0 = 0.0;
  double y0 = 0.0;
  double x1 = 0.0;
  double y1 = 0.0;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int stride = 0;
  uint32_t firstEdge = 0;
  uint32_t edgeCount = 0;
  // Not part of what it paints, and left out of the digests: a shape's
  // number, how many tiles the call was filed under, and its own digest.
  uint32_t shape = 0;
  uint32_t tiles = 0;
  uint64_t digest = 0;
  const void* data = nullptr;
};

// A frame's paint calls, each filed under the tiles its box meets, and a
// digest per tile of what it paints there: a tile whose digest is the last
// frame's paints the same pixels as then.
//
//   recording.begin(width, height, 5, seed);
//   recording.edges().push_back(...);           // a shape's edges, then the shape
//   recording.add(op, box, identity);
//   recording.closeShadows(rgb);
//   for each tile t: play recording.opsOf(t) clipped to recording.tileBox(t)
class FrameRecording {
 public:
  struct Edge {
    double x0, y0, x1, y1;
  };

  // A frame of width by height pixels in tiles of 2^tileShift pixels a
  // side, or one tile when tileShift is 0; seed starts every tile's digest.
  void begin(int width, int height, int tileShift, uint64_t seed);
  // Where a shape's edges go before the shape is added.
  std::vector<Edge>& edges() { return edges_; }
  static constexpr uint32_t kNotFiled = 0xFFFFFFFFu;
  // Files op under the tiles box meets; identity stands for the pixels op
  // reads through data (what its value fields do not say), and for a
  // picture's or a shadow's, for where they lie. Its number, or kNotFiled
  // when it lies outside the frame.
  uint32_t add(const DrawOp& op, const PixelBox& box, uint64_t identity);
  // The pixels of a call filed before they were made: where they lie, within
  // the box it was filed under, rows width apart. Before any tile is played.
  void placePixels(uint32_t index, int left, int top, int width, int height, const void* data);
  // A ShadowFlush in rgb for every tile a shadow was added to since the last.
  void closeShadows(uint32_t rgb);

  int columns() const { return columns_; }
  int rows() const { return rows_; }
  int tileCount() const { return columns_ * rows_; }
  PixelBox tileBox(int tile) const;
  const std::vector<uint32_t>& opsOf(int tile) const { return tiles_[static_cast<size_t>(tile)]; }
  // The calls filed under any of count tiles side by side in a row, from
  // tile on, in order, once each; and the box of those tiles.
  void opsOf(int tile, int count, std::vector<uint32_t>& ops) const;
  PixelBox tilesBox(int tile, int count) const;
  uint64_t digestOf(int tile) const { return digests_[static_cast<size_t>(tile)]; }
  const DrawOp& op(uint32_t i) const { return ops_[i]; }
  const Edge* edgesOf(const DrawOp& op) const { return edges_.data() + op.firstEdge; }
  size_t opCount() const { return ops_.size(); }
  // Shapes filed so far, numbered from 0 in their order.
  uint32_t shapeCount() const { return shapes_; }

 private:
  void file(uint32_t index, int tile, uint64_t digest);

  int width_ = 0;
  int height_ = 0;
  int tileWidth_ = 1;
  int tileHeight_ = 1;
  int columns_ = 0;
  int rows_ = 0;
  std::vector<DrawOp> ops_;
  std::vector<Edge> edges_;
  uint32_t shapes_ = 0;
  std::vector<std::vector<uint32_t>> tiles_;
  // Each row's calls, with the first and last columns they are filed under.
  struct RowEntry {
    uint32_t index;
    int first;
    int last;
  };
  std::vector<std::vector<RowEntry>> rowOps_;
  std::vector<uint64_t> digests_;
  // Tiles shadows were added to since the last flush, once each.
  std::vector<int> shadowTiles_;
  std::vector<unsigned> shadowBatchOf_;
  unsigned shadowBatch_ = 1;
};

// Digests of words, for the tiles' digests: not cryptographic, but every
// bit of the input reaches every bit of the result.
uint64_t mixDigest(uint64_t digest, uint64_t word);
uint64_t doubleBits(double v);
