#pragma once

#include <cstdint>
#include <vector>

#include "draw/ImageView.h"
#include "draw/software/CoverageRasterizer.h"
#include "draw/software/FrameRecording.h"

// Paints one tile of a recorded frame, or a stretch of tiles side by side:
// their calls in order, each clipped to them, so that every pixel ends as
// it would had the frame been painted whole. A shape within one tile is
// painted there; one over several is worked out first, whole, once
// (rasterize), and its runs laid on each. The tile starts all of one colour
// and, while only rectangles that cover it whole are laid on it, stays a
// colour rather than pixels. One per thread: it keeps a rasterizer and the
// tile's shadows.
//
//   TileReplay replay;
//   replay.rasterize(image, recording, shapeOp, runs[shapeOp.shape]);  // every shape first
//   TileReplay::Result r = replay.play(image, recording, runs, tile, clearRgb, true);
//   if (r.flat) paintFlat(image, recording.tileBox(tile), r.rgb);
class TileReplay {
 public:
  struct Result {
    bool flat = false;  // nothing was painted: the tile is all rgb
    uint32_t rgb = 0;
  };

  // startFlat: the tile may stay a colour; otherwise it is painted in
  // clearRgb before anything is drawn on it.
  using Runs = std::vector<CoverageRasterizer::Run>;
  Result play(const ImageView& image, const FrameRecording& recording, const std::vector<Runs>& shapes,
              int tile, uint32_t clearRgb, bool startFlat) {
    return play(image, recording, shapes, recording.opsOf(tile), recording.tileBox(tile), clearRgb,
                startFlat);
  }
  // The same for count tiles side by side in a row, from tile on, played as
  // one: a call over several of them is set up once, not in each.
  Result playTiles(const ImageView& image, const FrameRecording& recording, const std::vector<Runs>& shapes,
                   int tile, int count, uint32_t clearRgb, bool startFlat);
  // A shape's pixels in image, as runs.
  void rasterize(const ImageView& image, const FrameRecording& recording, const DrawOp& shape, Runs& runs);

 private:
  Result play(const ImageView& image, const FrameRecording& recording, const std::vector<Runs>& shapes,
              const std::vector<uint32_t>& ops, const PixelBox& clip, uint32_t clearRgb, bool startFlat);
  void rect(const ImageView& image, const DrawOp& op, const PixelBox& clip);
  void fillShape(const ImageView& image, const FrameRecording& recording, const DrawOp& op);
  void addShadow(const DrawOp& op, const PixelBox& clip);
  // Lays the shadows added since the last flush, or with no image drops them.
  void layShadows(const ImageView* image, uint32_t rgb, const PixelBox& clip);
  // Paints the tile in its colour, if it is still one.
  void unflatten(const ImageView& image, const PixelBox& clip);

  CoverageRasterizer raster_;
  std::vector<uint32_t> ops_;  // those of the tiles played as one
  bool flat_ = false;
  uint32_t rgb_ = 0;
  // The union of the shadows added since the last flush, over the tile.
  std::vector<uint8_t> shadow_;
  std::vector<int> shadowFirst_;  // gathered columns of each row, or first > last
  std::vector<int> shadowLast_;
  bool shadowsPending_ = false;  // added and not yet laid
};

// Paints box of image all in rgb.
void paintFlat(const ImageView& image, const PixelBox& box, uint32_t rgb);
