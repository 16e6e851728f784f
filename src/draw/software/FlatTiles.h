#pragma once

#include <cstdint>
#include <vector>

#include "draw/ImageView.h"

// The tiles of a frame that are still all one colour, kept as that colour
// instead of painted. Most of a large frame is the field's background under
// veils, which are translucent rectangles: a tile a rectangle covers whole
// only changes colour. A tile is painted in its colour before anything else
// is drawn on it, and at the end of the frame unless the image still shows
// it in that colour from the frame before.
//
//   tiles.beginFrame(image, background, image kept the last frame's pixels);
//   tiles.paintRect(...);           // rectangles: flat tiles change colour
//   tiles.paintUnder(box);          // before any other drawing in box
//   tiles.endFrame();
class FlatTiles {
 public:
  static constexpr int kTileShift = 5;  // tiles of 32 by 32 pixels

  // Every tile of image flat in rgb (0x00RRGGBB). keptFromLastFrame: the
  // image holds what the last frame drawn on it ended with; it is believed
  // only for the same image as last time, and when that frame was ended.
  void beginFrame(const ImageView& image, uint32_t rgb, bool keptFromLastFrame);
  // Paints the flat tiles that meet box, so that it can be drawn on.
  void paintUnder(const PixelBox& box);
  // The same for pixels [x0, x1) of row y, all within the image: for
  // shapes painted a row at a time.
  void paintUnderRow(int y, int x0, int x1) {
    if (flatCount_ == 0) return;
    const int row = y >> kTileShift;
    const uint8_t* flat = flat_.data() + static_cast<size_t>(row) * columns_;
    for (int column = x0 >> kTileShift; column <= (x1 - 1) >> kTileShift; ++column) {
      if (flat[column]) paintTile(column, row);
    }
  }
  // As paintRect of PixelShapes on the image.
  void paintRect(double x0, double y0, double x1, double y1, uint32_t rgb, int alpha);
  // Paints the flat tiles the image does not already show in their colour.
  void endFrame();

  int flatCount() const { return flatCount_; }

 private:
  PixelBox tileBox(int column, int row) const;
  void paintTile(int column, int row);

  ImageView image_;
  int columns_ = 0;
  int rows_ = 0;
  int flatCount_ = 0;
  std::vector<uint32_t> rgb_;
  std::vector<uint8_t> flat_;
  // What the image shows of each tile since the last frame ended: a flat
  // colour, or not (shownFlat_ 0).
  std::vector<uint32_t> shownRgb_;
  std::vector<uint8_t> shownFlat_;
  bool ended_ = false;  // a frame begun and not ended leaves the image unknown
};
