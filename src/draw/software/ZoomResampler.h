// Kept pictures laid on a frame under a view other than the one they were drawn under.
#pragma once

#include <cstdint>
#include <vector>

#include "draw/software/PictureCache.h"

// Resamples a kept picture from the view it was drawn under to another, in
// the frame's pixels: each pixel is a tent-weighted mean of the picture's
// pixels around the point it comes from, the tent as wide as a pixel of the
// frame is in the picture (so that a picture drawn smaller than it is shown
// blurs no more than it must, and one drawn larger is averaged, not
// sampled). What the picture shows then stays close to what drawing it
// afresh would, which the picture is while the view zooms. Works for any
// frame size and scale: the views are the pictures' pixel transforms.
//
//   ZoomResampler resampler;
//   if (resampler.place(picture, state, width, height)) {  // where, at once
//     use(resampler.result());  // its pixels' place in memory is known now
//     resampler.paint();        // and they are there after this, on any thread
//   }
class ZoomResampler {
 public:
  // The picture under the new view, in frame pixels: premultiplied colour
  // or coverage, as the picture is kept.
  struct Result {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    const uint32_t* pixels = nullptr;   // colour pictures: width * height
    const uint8_t* coverage = nullptr;  // shadows: width * height
  };

  // Resamples the picture for a frame of width by height under the view of
  // now (its scale and offsets). False, with nothing made, when the frame
  // would show part of the picture that was cut off when it was drawn (it
  // lay beyond that frame's edge): then only drawing it afresh will do.
  // place works out where (and, from the picture's size and states alone,
  // whether); paint makes the pixels, reading the picture's pixels as they
  // were when placed, which must stay until then.
  bool resample(const PictureCache::Picture& picture, const PictureState& now, int frameWidth,
                int frameHeight) {
    if (!place(picture, now, frameWidth, frameHeight)) return false;
    paint();
    return true;
  }
  bool place(const PictureCache::Picture& picture, const PictureState& now, int frameWidth, int frameHeight);
  void paint();
  const Result& result() const { return result_; }

 private:
  // The weights of one axis: for each pixel of the frame's span, the run of
  // the picture's pixels it is made of.
  struct Taps {
    int first = 0;  // the frame's first pixel on this axis
    std::vector<int> from;
    std::vector<int> count;
    std::vector<int> offset;  // into weights
    std::vector<float> weights;
  };
  // The same where at most two pixels of the picture make one of the
  // frame, their weights in 0..256.
  struct Pair {
    int first;
    int second;
    uint32_t firstWeight;
    uint32_t secondWeight;
  };
  // One axis of a resampling: the picture's view and the frame's, where the
  // picture starts and how long it is, and the frame's length.
  struct Axis {
    double keptScale = 1.0;
    double keptOffset = 0.0;
    double scale = 1.0;
    double offset = 0.0;
    int pictureStart = 0;
    int pictureSize = 0;
    int frameSize = 0;
  };
  // The frame's pixels on the axis that the picture makes, first to last
  // (none when last < first), interpolated in pairs or averaged.
  static void span(const Axis& axis, bool pairs, int& first, int& last);
  static void pairTaps(std::vector<Pair>& pairs, const Axis& axis);
  static void axisTaps(Taps& taps, const Axis& axis);
  template <class Kind>
  void run(const typename Kind::Pixel* source, int sourceWidth, std::vector<typename Kind::Pixel>& out);

  template <class Pixel>
  void runPairs(const Pixel* source, int sourceWidth, std::vector<Pixel>& out, std::vector<Pixel>& mixed);

  Taps columns_;
  Taps rows_;
  std::vector<Pair> columnPairs_;
  std::vector<Pair> rowPairs_;
  std::vector<uint16_t> columnWeights_;  // columnPairs_' weights, laid out for vectors
  std::vector<uint8_t> adjacent_;        // per group of them: each pair's pixels side by side
  std::vector<uint32_t> pixels_;
  std::vector<uint8_t> coverage_;
  std::vector<uint32_t> mixedPixels_;  // a row mixed from two of the picture's
  std::vector<uint8_t> mixedCoverage_;
  std::vector<float> across_;  // the picture's rows, resampled across
  Result result_;
  // What place left for paint: the picture's pixels, and how to resample them.
  const uint32_t* sourcePixels_ = nullptr;
  const uint8_t* sourceCoverage_ = nullptr;
  int sourceWidth_ = 0;
  bool pairs_ = false;
  // The weights are worked out by paint, on the thread that makes the pixels.
  Axis columnAxis_;
  Axis rowAxis_;
};
