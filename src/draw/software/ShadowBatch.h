#pragma once

#include <cstdint>
#include <vector>

#include "draw/ImageView.h"

// Kept shadows gathered before they are laid on a frame. A field's shadows
// are all one colour, drawn one after another, and laying one colour k
// times over a pixel is laying it once by the union of the k coverages:
// so they are gathered into one coverage and laid on once, not picture by
// picture.
class ShadowBatch {
 public:
  void setSize(int width, int height);
  bool isOpen() const { return open_; }
  uint32_t rgb() const { return rgb_; }

  // Starts gathering shadows of this colour (0x00RRGGBB).
  void open(uint32_t rgb);
  // Adds coverage (0..255, width by height, rows of stride) placed at
  // (left, top) in the frame; what falls outside it is dropped.
  void add(const uint8_t* coverage, int left, int top, int width, int height, int stride);
  // The boxes of the frame the shadows gathered so far lie in.
  const std::vector<PixelBox>& boxes() const { return boxes_; }
  // Lays what was gathered on the image in its colour and closes.
  void flush(const ImageView& image);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> coverage_;  // allocated on first use
  std::vector<int> rowFirst_;      // gathered columns of each row, or first > last
  std::vector<int> rowLast_;
  std::vector<PixelBox> boxes_;
  int firstRow_ = 0;
  int lastRow_ = -1;
  bool open_ = false;
  uint32_t rgb_ = 0;
};
