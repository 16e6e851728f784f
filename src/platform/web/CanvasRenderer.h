#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "draw/ImageView.h"
#include "world/Geometry.h"

class SoftwareDrawBackend;

// Where the canvas shows the view: width x height units at scale pixels a
// unit, its top left corner at (left, top) in canvas pixels; the rest shows
// the clear colour.
struct CanvasPlacement {
  int width = 800;
  int height = 800;
  double scale = 1.0;
  int left = 0;
  int top = 0;

  int pixelWidth() const;
  int pixelHeight() const;
  bool operator==(const CanvasPlacement& o) const {
    return width == o.width && height == o.height && scale == o.scale && left == o.left && top == o.top;
  }
};

// Draws the frames of the page's canvas with the software renderer, then
// puts them on the canvas in one call (the page's putImageData of a view on
// the module's memory). While it lives, its backend is the drawing backend.
class CanvasRenderer {
 public:
  CanvasRenderer();
  ~CanvasRenderer();
  CanvasRenderer(const CanvasRenderer&) = delete;
  CanvasRenderer& operator=(const CanvasRenderer&) = delete;

  // A frame on a canvas of this many pixels, cleared to clearRgb around the
  // view where placed.
  void beginFrame(int canvasWidth, int canvasHeight, const CanvasPlacement& placement, float zoom,
                  Vec2 translation, uint32_t clearRgb);
  // Finishes the frame and shows it.
  void endFrame();

 private:
  void useScale(double scale);

  std::unique_ptr<SoftwareDrawBackend> software_;
  std::vector<uint32_t> pixels_;
  std::vector<uint32_t> canvasBytes_;
  int width_ = 0;
  int height_ = 0;
  bool presented_ = false;
  double scale_ = 1.0;
  CanvasPlacement cleared_;
};
