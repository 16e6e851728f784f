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

  struct Mask;
  // Where a disc's mask lies: its pixel origin in the image, and the mask
  // (null for a disc that paints nothing or is too large for a mask).
  struct Placement {
    const Mask* mask = nullptr;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
  };

  void paint(const ImageView& image, double cx, double cy, double r, const SpanPainter& paint);
  // The mask of the disc at (cx, cy) of radius r in an image of this size,
  // made now if it is new; it stays valid until the frame after next.
  Placement place(double cx, double cy, double r, int imageWidth, int imageHeight);
  // Paints a placed mask's pixels within clip (inside the image).
  static void paint(const ImageView& image, const Placement& placement, const SpanPainter& paint,
                    const PixelBox& clip);
  // Starts a frame: masks not used since the one before it may go.
  void nextFrame();
  size_t bytes() const { return bytes_; }

 private:
  const Mask& mask(int radiusSixteenths, int quarterX, int quarterY);

  void dropStale();

  std::vector<std::unique_ptr<Mask>> masks_;  // by key
  size_t bytes_ = 0;
  unsigned frame_ = 0;
  bool sweptThisFrame_ = false;
};
