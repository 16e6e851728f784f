#include "platform/glut/WindowRenderer.h"

#include <GL/freeglut.h>
#include <GL/glx.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "draw/BuiltInFonts.h"
#include "draw/DrawBackend.h"
#include "draw/Pen.h"
#include "draw/ScaledFonts.h"
#include "draw/gl/GlDrawBackend.h"
#include "draw/gl/GlViewProjection.h"
#include "draw/software/PixelBlend.h"
#include "draw/software/SoftwareDrawBackend.h"
#include "platform/glut/XImagePresenter.h"

namespace {

// Said once a process, not once a window.
void sayOnce(bool& said, const std::string& line) {
  if (said || line.empty()) return;
  said = true;
  std::fprintf(stderr, "%s\n", line.c_str());
}
bool saidSetting = false;
bool saidFallback = false;

}  // namespace

WindowRenderer::WindowRenderer() {
  std::string complaint;
  const Renderer choice = chooseRenderer(std::getenv("VERLOMBA_RENDERER"),
                                         reinterpret_cast<const char*>(glGetString(GL_RENDERER)), complaint);
  sayOnce(saidSetting, complaint);
  if (choice != Renderer::Software) {
    useGl(1.0, {});
    return;
  }
  std::string reason;
  std::unique_ptr<XImagePresenter> presenter =
      XImagePresenter::create(glXGetCurrentDisplay(), glXGetCurrentDrawable(), reason);
  if (!presenter) {
    sayOnce(saidFallback, "verlomba: drawing with OpenGL instead of the software renderer: " + reason);
    useGl(1.0, {});
    return;
  }
  software_ = std::make_unique<SoftwareDrawBackend>(builtInFonts());
  presenter_ = std::move(presenter);
  setDrawBackend(software_.get());
}

WindowRenderer::~WindowRenderer() {
  DrawBackend* own = software_ ? static_cast<DrawBackend*>(software_.get()) : gl_.get();
  if (installedDrawBackend() == own) setDrawBackend(nullptr);
}

void WindowRenderer::useGl(double scale, const BitmapFontSet& fonts) {
  if (gl_ && installedDrawBackend() == gl_.get()) setDrawBackend(nullptr);
  gl_ = scale == 1.0 ? std::make_unique<GlDrawBackend>()
                     : std::make_unique<GlDrawBackend>(static_cast<float>(scale), fonts);
  setDrawBackend(gl_.get());
}

void WindowRenderer::useScale(double scale) {
  if (scale == scale_) return;
  scale_ = scale;
  const BitmapFontSet& fonts = fontsAtScale(scale);
  if (software_) {
    software_->setFonts(fonts.empty() ? builtInFonts() : fonts,
                        fonts.empty() ? 1.0f : static_cast<float>(scale));
    return;
  }
  useGl(scale, fonts);
  // OpenGL keeps the width it was given in pixels: give it again at this scale.
  setLineWidth(pen().width);
}

ImageView WindowRenderer::softwareFrame(int windowWidth, int windowHeight, const ViewPlacement& placement,
                                        uint32_t clearRgb, bool& kept) {
  const ImageView whole = presenter_->frame(windowWidth, windowHeight);
  kept = presenter_->hasPresented();
  viewLeft_ = 0;
  viewTop_ = 0;
  const int width = std::min(placement.pixelWidth(), windowWidth - placement.left);
  const int height = std::min(placement.pixelHeight(), windowHeight - placement.top);
  if (whole.empty() ||
      (placement.left == 0 && placement.top == 0 && width == whole.width && height == whole.height)) {
    return whole;
  }
  if (width <= 0 || height <= 0) return {};
  // The image keeps what was presented: the margins need clearing only when
  // they move or the image is new (one of a new size is not yet presented).
  if (!(cleared_ == placement) || !presenter_->hasPresented()) {
    const SpanPainter clear(clearRgb, 256);
    for (int y = 0; y < whole.height; ++y) clear.run(whole.row(y), whole.width);
    cleared_ = placement;
    kept = false;
  }
  viewLeft_ = placement.left;
  viewTop_ = placement.top;
  ImageView view = whole;
  view.pixels = whole.row(placement.top) + placement.left;
  view.width = width;
  view.height = height;
  return view;
}

void WindowRenderer::beginFrame(int windowWidth, int windowHeight, const ViewPlacement& placement, float zoom,
                                Vec2 translation, uint32_t clearRgb) {
  useScale(placement.scale);
  if (software_) {
    bool kept = false;
    const ImageView frame = softwareFrame(windowWidth, windowHeight, placement, clearRgb, kept);
    showWhole_ = !kept || frame.empty() || wholeAsked_;
    wholeAsked_ = false;
    software_->beginFrame(
        frame, viewTransform(placement.width, placement.height, zoom, translation, placement.scale), clearRgb,
        kept);
    return;
  }
  glViewport(0, 0, windowWidth, windowHeight);
  glClearColor(static_cast<float>(clearRgb >> 16 & 0xFF) / 255.0f,
               static_cast<float>(clearRgb >> 8 & 0xFF) / 255.0f,
               static_cast<float>(clearRgb & 0xFF) / 255.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  // OpenGL counts the viewport's rows from the bottom.
  glViewport(placement.left, windowHeight - placement.top - placement.pixelHeight(), placement.pixelWidth(),
             placement.pixelHeight());
  loadViewProjection(static_cast<float>(placement.width), static_cast<float>(placement.height), zoom,
                     translation);
}

void WindowRenderer::endFrame() {
  if (presenter_) {
    software_->endFrame();
    if (showWhole_) {
      presenter_->present();
      return;
    }
    const PixelBox& changed = software_->changedArea();
    presenter_->present(PixelBox{changed.left + viewLeft_, changed.top + viewTop_, changed.right + viewLeft_,
                                 changed.bottom + viewTop_});
    return;
  }
  glutSwapBuffers();
}

bool WindowRenderer::showAgain() {
  if (!presenter_ || !presenter_->hasPresented()) return false;
  presenter_->present();
  return true;
}
