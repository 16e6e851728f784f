#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "draw/ImageView.h"
#include "draw/software/CoverageRasterizer.h"
#include "draw/software/FrameRecording.h"
#include "draw/software/PictureCache.h"

// The still pictures a frame draws afresh: their calls are recorded while
// the frame is, and each is painted into a layer of its own on the tiles'
// threads (as soon as it is recorded, while the rest of the frame still
// is), then taken into the picture that keeps it. Drawing a crowd's
// shadows anew as the light moves is most of a big frame's work; this
// shares it out instead of leaving it to the game's thread.
//
//   layers.begin(picture, drawn, whole);  // a picture drawn afresh
//   layers.add(op);                       // its Rect, LargeDisc, Glyph and Shape calls
//   ...on a thread: PictureLayers::paint(layers.layer(i), scratch[worker]);
class PictureLayers {
 public:
  // A layer and its calls. One recorded is left alone until the frame
  // ends: another thread may be painting it.
  struct Layer {
    // Where its pixels go: its key and state are set before it is painted.
    PictureCache::Picture* picture = nullptr;
    PixelBox drawn;  // in the frame's pixels
    PixelBox whole;  // as drawn had the frame not cut it
    std::vector<DrawOp> ops;
    std::vector<FrameRecording::Edge> edges;
  };
  // What a thread paints layers with.
  struct Scratch {
    std::vector<uint32_t> pixels;
    CoverageRasterizer raster;
  };

  void clear();
  // The calls added from now on are a new layer's, in its own pixels.
  void begin(PictureCache::Picture* picture, const PixelBox& drawn, const PixelBox& whole);
  // Where a shape's edges go before the shape is added.
  std::vector<FrameRecording::Edge>& edges() { return layers_[count_ - 1]->edges; }
  void add(const DrawOp& op);
  size_t count() const { return count_; }
  const Layer& layer(size_t i) const { return *layers_[i]; }
  // How many pixels the layers recorded so far have in all.
  size_t pixels() const { return pixels_; }
  // Paints a layer and takes what it painted into its picture.
  static void paint(const Layer& layer, Scratch& scratch);

 private:
  // Kept from frame to frame for their memory; each stays where it is.
  std::vector<std::unique_ptr<Layer>> layers_;
  size_t count_ = 0;
  size_t pixels_ = 0;
};
