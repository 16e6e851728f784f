#pragma once

#include <cstdint>
#include <vector>

// How far two pictures of 0x00RRGGBB pixels differ: the share of pixels off
// by more than offBy in some channel, and the mean absolute difference over
// every channel of every pixel. The bound the two renderers are held to is
// at most 5 % of pixels off by more than 8, a mean of at most 1.5.
struct PictureDifference {
  double offShare = 0.0;
  double mean = 0.0;
  // The pixels that are off in red over a faint copy of the first picture.
  std::vector<uint32_t> picture;

  bool withinRendererBound() const { return offShare <= 0.05 && mean <= 1.5; }
};

PictureDifference pictureDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b,
                                    int offBy = 8);
