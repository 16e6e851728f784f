#pragma once

#include <cstdint>
#include <memory>

#include "platform/RendererChoice.h"
#include "world/Geometry.h"

class SoftwareDrawBackend;
class XImagePresenter;

// Draws the frames of one GLUT window with the renderer chosen for this
// machine: the software backend into an X image where OpenGL itself
// rasterizes on the CPU, OpenGL otherwise (see chooseRenderer). While the
// software renderer is in use it is the drawing backend.
//
//   WindowRenderer renderer;  // with the window's GL context current
//   renderer.beginFrame(w, h, zoom, translation, clear);
//   ... draw through drawBackend() ...
//   renderer.endFrame();
class WindowRenderer {
 public:
  WindowRenderer();
  ~WindowRenderer();
  WindowRenderer(const WindowRenderer&) = delete;
  WindowRenderer& operator=(const WindowRenderer&) = delete;

  Renderer renderer() const { return software_ ? Renderer::Software : Renderer::OpenGL; }
  // Clears the window's picture to clearRgb (0xRRGGBB) and sets up the view:
  // the zoom scales about the window's centre after the translation.
  void beginFrame(int width, int height, float zoom, Vec2 translation, uint32_t clearRgb);
  // Shows the frame.
  void endFrame();
  // Shows the last frame again, for a window that was covered: the X server
  // keeps nothing of it, the image has it all. False when there is none.
  bool showAgain();

 private:
  std::unique_ptr<SoftwareDrawBackend> software_;
  std::unique_ptr<XImagePresenter> presenter_;
};
