#include "platform/WindowRenderer.h"

#include <GL/freeglut.h>
#include <GL/glx.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "draw/DrawBackend.h"
#include "draw/gl/GlViewProjection.h"
#include "draw/software/SoftwareDrawBackend.h"
#include "platform/GlyphCapture.h"
#include "platform/XImagePresenter.h"

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
  if (choice != Renderer::Software) return;
  std::string reason;
  std::unique_ptr<XImagePresenter> presenter =
      XImagePresenter::create(glXGetCurrentDisplay(), glXGetCurrentDrawable(), reason);
  BitmapFontSet fonts;
  if (presenter) {
    fonts = glutFonts();
    if (fonts.empty()) reason = "the bitmap fonts could not be read";
  }
  if (fonts.empty()) {
    sayOnce(saidFallback, "verlomba: drawing with OpenGL instead of the software renderer: " + reason);
    return;
  }
  software_ = std::make_unique<SoftwareDrawBackend>(std::move(fonts));
  presenter_ = std::move(presenter);
  setDrawBackend(software_.get());
}

WindowRenderer::~WindowRenderer() {
  if (software_ && &drawBackend() == software_.get()) setDrawBackend(nullptr);
}

void WindowRenderer::beginFrame(int width, int height, float zoom, Vec2 translation, uint32_t clearRgb) {
  if (software_) {
    software_->beginFrame(presenter_->frame(width, height), viewTransform(width, height, zoom, translation),
                          clearRgb);
    return;
  }
  glViewport(0, 0, width, height);
  glClearColor(static_cast<float>(clearRgb >> 16 & 0xFF) / 255.0f,
               static_cast<float>(clearRgb >> 8 & 0xFF) / 255.0f,
               static_cast<float>(clearRgb & 0xFF) / 255.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  loadViewProjection(static_cast<float>(width), static_cast<float>(height), zoom, translation);
}

void WindowRenderer::endFrame() {
  if (presenter_) {
    software_->endFrame();
    presenter_->present();
    return;
  }
  glutSwapBuffers();
}

bool WindowRenderer::showAgain() {
  if (!presenter_ || !presenter_->hasPresented()) return false;
  presenter_->present();
  return true;
}
