#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/ViewPlacement.h"
#include "draw/ImageView.h"
#include "world/Geometry.h"

class SoftwareDrawBackend;

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
  void beginFrame(int canvasWidth, int canvasHeight, const ViewPlacement& placement, float zoom,
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
  ViewPlacement cleared_;
};
