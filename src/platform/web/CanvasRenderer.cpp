#include "platform/web/CanvasRenderer.h"

#include <algorithm>
#include <cmath>

#include "draw/BuiltInFonts.h"
#include "draw/DrawBackend.h"
#include "draw/ScaledFonts.h"
#include "draw/software/PixelBlend.h"
#include "draw/software/SoftwareDrawBackend.h"
#include "platform/web/CanvasBytes.h"
#include "platform/web/PageCalls.h"

CanvasRenderer::CanvasRenderer() : software_(std::make_unique<SoftwareDrawBackend>(builtInFonts())) {
  setDrawBackend(software_.get());
}

CanvasRenderer::~CanvasRenderer() {
  if (installedDrawBackend() == software_.get()) setDrawBackend(nullptr);
}

void CanvasRenderer::useScale(double scale) {
  if (scale == scale_) return;
  scale_ = scale;
  const BitmapFontSet& fonts = fontsAtScale(scale);
  software_->setFonts(fonts.empty() ? builtInFonts() : fonts,
                      fonts.empty() ? 1.0f : static_cast<float>(scale));
}

void CanvasRenderer::beginFrame(int canvasWidth, int canvasHeight, const ViewPlacement& placement, float zoom,
                                Vec2 translation, uint32_t clearRgb) {
  useScale(placement.scale);
  if (canvasWidth != width_ || canvasHeight != height_) {
    width_ = std::max(canvasWidth, 1);
    height_ = std::max(canvasHeight, 1);
    pixels_.assign(static_cast<size_t>(width_) * height_, clearRgb);
    canvasBytes_.resize(pixels_.size());
    presented_ = false;
  }
  ImageView whole{pixels_.data(), width_, height_, width_};
  bool kept = presented_;
  // The margins around a placed view are cleared when it moves.
  if (!(cleared_ == placement) || !presented_) {
    const SpanPainter clear(clearRgb, 256);
    for (int y = 0; y < height_; ++y) clear.run(whole.row(y), width_);
    cleared_ = placement;
    kept = false;
  }
  ImageView view = whole;
  view.pixels = whole.row(std::min(placement.top, height_ - 1)) + std::min(placement.left, width_ - 1);
  view.width = std::max(0, std::min(placement.pixelWidth(), width_ - placement.left));
  view.height = std::max(0, std::min(placement.pixelHeight(), height_ - placement.top));
  software_->beginFrame(view,
                        viewTransform(placement.width, placement.height, zoom, translation, placement.scale),
                        clearRgb, kept);
}

void CanvasRenderer::endFrame() {
  software_->endFrame();
  convertToCanvasBytes({pixels_.data(), width_, height_, width_}, canvasBytes_.data());
  verlomba_put_image(canvasBytes_.data(), width_, height_);
  presented_ = true;
}
