#pragma once

#include <cstdint>
#include <memory>

#include "app/ViewPlacement.h"
#include "draw/BitmapFont.h"
#include "draw/ImageView.h"
#include "platform/glut/RendererChoice.h"
#include "world/Geometry.h"

class GlDrawBackend;
class SoftwareDrawBackend;
class XImagePresenter;

// Draws the frames of one GLUT window with the renderer chosen for this
// machine: the software backend into an X image where OpenGL itself
// rasterizes on the CPU, OpenGL otherwise (see chooseRenderer). While it
// lives, the renderer's backend is the drawing backend (OpenGL's set to the
// view's scale).
//
//   WindowRenderer renderer;  // with the window's GL context current
//   renderer.beginFrame(windowWidth, windowHeight, placement, zoom, translation, clear);
//   ... draw through drawBackend() ...
//   renderer.endFrame();
class WindowRenderer {
 public:
  WindowRenderer();
  ~WindowRenderer();
  WindowRenderer(const WindowRenderer&) = delete;
  WindowRenderer& operator=(const WindowRenderer&) = delete;

  Renderer renderer() const { return software_ ? Renderer::Software : Renderer::OpenGL; }
  // Clears the window's picture to clearRgb (0xRRGGBB) and sets up the view
  // where placed: the zoom scales about the view's centre after the
  // translation.
  void beginFrame(int windowWidth, int windowHeight, const ViewPlacement& placement, float zoom,
                  Vec2 translation, uint32_t clearRgb);
  // Shows the frame.
  void endFrame();
  // Shows the last frame again, for a window that was covered: the X server
  // keeps nothing of it, the image has it all. False when there is none.
  bool showAgain();
  // The next frame is shown whole, not only where it changed: the window
  // was exposed and may show nothing of the last.
  void showWholeNextFrame() { wholeAsked_ = true; }

 private:
  // Text and line widths for the view's scale, from the first frame at it.
  void useScale(double scale);
  // The software renderer's image for a frame, the view's part of it;
  // kept: it still holds the last frame shown.
  ImageView softwareFrame(int windowWidth, int windowHeight, const ViewPlacement& placement,
                          uint32_t clearRgb, bool& kept);

  // OpenGL's backend at a scale, with the fonts at it, installed.
  void useGl(double scale, const BitmapFontSet& fonts);

  std::unique_ptr<SoftwareDrawBackend> software_;
  std::unique_ptr<XImagePresenter> presenter_;
  std::unique_ptr<GlDrawBackend> gl_;
  double scale_ = 1.0;
  // What the margins around the view were cleared for.
  ViewPlacement cleared_;
  // Where the software renderer's view lies in the window's image, and
  // whether the next frame must be shown whole (the image is new, or its
  // margins were cleared) rather than only where it changed.
  int viewLeft_ = 0;
  int viewTop_ = 0;
  bool showWhole_ = true;
  bool wholeAsked_ = true;
};
