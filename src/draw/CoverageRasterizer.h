#pragma once

#include <vector>

#include "draw/ImageView.h"

// Exact area coverage of closed outlines on a pixel grid. Edges add signed
// area to an accumulation row per scanline; a sweep along each row sums it
// into coverage, so adjacent triangles of one outline meet without a seam
// and overlapping parts of one outline are painted once.
//
//   raster.setSize(800, 800);
//   raster.addEdge(...);             // every edge of every outline of a shape
//   raster.fill(image, rgb, alpha);  // paints it and empties the cells
//
// Coordinates are image pixels (x right, y down, pixel (i, j) covers
// [i, i + 1] x [j, j + 1]). Any finite coordinate is safe: edges are clipped
// to the image before they touch a cell. Coverage is |winding area| capped
// at 1, so either orientation fills.
class CoverageRasterizer {
 public:
  void setSize(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }

  void addEdge(double x0, double y0, double x1, double y1);
  // Blends the accumulated shape into image (of this size) in rgb at alpha
  // 0..256 times the coverage, then empties the cells.
  void fill(const ImageView& image, uint32_t rgb, int alpha);
  // Empties the cells without painting.
  void clear();

  // The pixel coverage of the accumulated shape, row by row, for tests: a
  // fill that writes coverage in [0, 1] instead of blending.
  std::vector<float> takeCoverage();

 private:
  // An edge that lies within [0, width] x [0, height].
  void addInsideEdge(float x0, float y0, float x1, float y1);
  template <class Cell>
  void sweep(Cell&& cell);

  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  std::vector<float> cells_;
  std::vector<int> rowFirst_;  // touched cells of each row, or first > last
  std::vector<int> rowLast_;
  int top_ = 0;  // touched rows, or top_ > bottom_
  int bottom_ = -1;
};
