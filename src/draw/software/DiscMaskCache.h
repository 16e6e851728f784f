#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "draw/ImageView.h"

class SpanPainter;

// Coverage masks of discs, by radius to a sixteenth of a pixel and centre to
// a quarter of one, made on first use and painted from then on: a frame
// draws the same discs (tree blobs, shadows, peeps) as the one before, and
// reading a mask costs a fraction of working out each edge pixel again.
// Coverage is that of paintDisc. Discs larger than kLargestRadius are painted
// directly. Beyond a budget, masks no frame has used lately are dropped.
class DiscMaskCache {
 public:
  static constexpr double kLargestRadius = 48.0;

  DiscMaskCache();
  ~DiscMaskCache();

  void paint(const ImageView& image, double cx, double cy, double r, const SpanPainter& paint);
  // Starts a frame: masks not used since the one before it may go.
  void nextFrame();
  size_t bytes() const { return bytes_; }

 private:
  struct Mask;
  const Mask& mask(int radiusSixteenths, int quarterX, int quarterY);

  void dropStale();

  std::vector<std::unique_ptr<Mask>> masks_;  // by key
  size_t bytes_ = 0;
  unsigned frame_ = 0;
  bool sweptThisFrame_ = false;
};
