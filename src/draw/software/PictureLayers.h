#pragma once

#include <cstdint>
#include <vector>

#include "draw/ImageView.h"
#include "draw/software/CoverageRasterizer.h"
#include "draw/software/FrameRecording.h"
#include "draw/software/PictureCache.h"

// The still pictures a frame draws afresh: their calls are recorded while
// the frame is, and each is painted into a layer of its own when the frame
// ends, on the tiles' threads, then taken into the picture that keeps it.
// Drawing a crowd's shadows anew as the light moves is most of a big
// frame's work; this shares it out instead of leaving it to the game's
// thread.
//
//   layers.begin(layer);                    // a picture drawn afresh
//   layers.add(op);                         // its Rect, LargeDisc, Glyph and Shape calls
//   ...on a thread: layers.paint(i, scratch[worker]);
class PictureLayers {
 public:
  struct Layer {
    // Where its pixels go: its key and state are set before it is painted.
    PictureCache::Picture* picture = nullptr;
    PixelBox drawn;  // in the frame's pixels
    PixelBox whole;  // as drawn had the frame not cut it
    uint32_t firstOp = 0;
    uint32_t opCount = 0;
  };
  // What a thread paints layers with.
  struct Scratch {
    std::vector<uint32_t> pixels;
    CoverageRasterizer raster;
  };

  void clear();
  // The calls added from now on are the layer's, in its own pixels.
  void begin(const Layer& layer);
  // Where a shape's edges go before the shape is added.
  std::vector<FrameRecording::Edge>& edges() { return edges_; }
  void add(const DrawOp& op);
  size_t count() const { return layers_.size(); }
  const Layer& layer(size_t i) const { return layers_[i]; }
  // How many pixels the layers recorded so far have in all.
  size_t pixels() const { return pixels_; }
  // Paints layer i and takes what it painted into its picture.
  void paint(size_t i, Scratch& scratch) const;

 private:
  std::vector<Layer> layers_;
  std::vector<DrawOp> ops_;
  std::vector<FrameRecording::Edge> edges_;
  size_t pixels_ = 0;
};
