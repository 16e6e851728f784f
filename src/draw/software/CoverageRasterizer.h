#pragma once

#include <vector>

#include "draw/ImageView.h"

// Exact area coverage of closed outlines on a pixel grid. Edges add signed
// area to an accumulation row per scanline; a sweep along each row sums it
// into coverage, so adjacent triangles of one outline meet without a seam
// and overlapping parts of one outline are painted once.
//
//   raster.setSize(800, 800);
//   raster.beginShape(10, 10, 60, 40);  // a box the shape lies in
//   raster.addEdge(...);                // every edge of every outline of it
//   raster.fill(image, rgb, alpha);     // paints it and empties the cells
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

  // The cells of a shape are laid out over its box alone, so that a small
  // shape's work stays within a few cache lines; without a box a shape may
  // lie anywhere in the image. Edges are clipped to the box and the image.
  void beginShape(double minX, double minY, double maxX, double maxY);
  void addEdge(double x0, double y0, double x1, double y1);
  // Blends the accumulated shape into image (of this size) in rgb at alpha
  // 0..256 times the coverage, then empties the cells.
  void fill(const ImageView& image, uint32_t rgb, int alpha);

  // Pixels of a row [x, x + count) that a fill at some alpha paints at the
  // alpha a (1..256), as it rounds it.
  struct Run {
    int y;
    int x;
    int count;
    int a;
  };
  // What fill would paint, as runs row by row, left to right, added to
  // runs; then empties the cells. Laying the runs on an image in any
  // pieces (see paintRuns) paints the pixels fill would.
  void takeRuns(int alpha, std::vector<Run>& runs);
  // Empties the cells without painting.
  void clear();

  // The pixel coverage of the accumulated shape, row by row, for tests: a
  // fill that writes coverage in [0, 1] instead of blending.
  std::vector<float> takeCoverage();

 private:
  void setBox(int left, int top, int right, int bottom);
  void reserveBox();
  // An edge in box cells, within [0, box width] x [0, box height].
  void addInsideEdge(float x0, float y0, float x1, float y1);
  void touch(int y, int firstCell, int lastCell);
  // Sums each touched row into coverage: cell(x, y, c) for a pixel next to
  // an edge, run(x, y, count, c) for pixels between edges, all covered alike.
  template <class CellFn, class RunFn>
  void sweep(CellFn&& cell, RunFn&& run);

  int width_ = 0;
  int height_ = 0;
  // The shape's box in image pixels, and the cells of its rows.
  int left_ = 0;
  int top_ = 0;
  int boxWidth_ = 0;
  int boxHeight_ = 0;
  int stride_ = 0;
  std::vector<float> cells_;
  std::vector<int> rowFirst_;  // touched cells of each row, or first > last
  std::vector<int> rowLast_;
  // Rows are cut into blocks of kBlock cells, marked when an edge adds to
  // one; the sweep crosses an unmarked block in one run.
  static constexpr int kBlockShift = 3;
  int blocksPerRow_ = 0;
  std::vector<uint8_t> blockTouched_;
  int firstRow_ = 0;  // touched rows of the box, or first > last
  int lastRow_ = -1;
};

// Lays the runs of a shape that fall within clip on image in rgb.
void paintRuns(const ImageView& image, const std::vector<CoverageRasterizer::Run>& runs, uint32_t rgb,
               const PixelBox& clip);
