// Which kept pictures shown resampled are drawn afresh, a budget a frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/software/PictureCache.h"

// The kept pictures a frame showed resampled from another zoom, and those
// of them the next frame draws afresh: those drawn at more than twice or
// less than half the zoom first, then nearest the frame's centre first,
// until their pixels pass a budget, so that a frame never draws all of a
// big world anew at once, and once the view stays put every picture is
// soon drawn at its zoom again. A frame's pictures come in drawing order,
// which cannot wait for the nearest, hence the frame's delay.
//
//   queue.nextFrame(400, 400, 160000);
//   if (!queue.isDue(slot) && resampled) queue.add(slot, box, keptScale / scale);  // else draw afresh
class RedrawQueue {
 public:
  // Starts a frame centred at (centreX, centreY), picking from what the
  // last frame showed resampled; at least one picture is picked.
  void nextFrame(double centreX, double centreY, double budgetPixels);
  // A picture shown resampled over this box of the frame, drawn at zoom
  // times the frame's.
  void add(uint64_t slot, const PixelBox& box, double zoom);
  // Whether this frame draws the picture afresh.
  bool isDue(uint64_t slot) const;
  // How many pictures the frame (so far) showed resampled.
  size_t staleCount() const { return shown_.size(); }

 private:
  struct Candidate {
    uint64_t slot;
    bool far;         // drawn at more than twice or less than half the zoom
    double distance;  // squared, from the centre to the box's
    double pixels;
  };
  std::vector<Candidate> shown_;
  std::vector<uint64_t> due_;  // sorted
  double centreX_ = 0.0;
  double centreY_ = 0.0;
};
