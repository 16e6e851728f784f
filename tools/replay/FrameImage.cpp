#include "replay/FrameImage.h"

#include <chrono>
#include <vector>

#include "app/InputMapping.h"
#include "doubles/ScriptedApplication.h"
#include "draw/BuiltInFonts.h"
#include "draw/DrawBackend.h"
#include "draw/software/SoftwareDrawBackend.h"

namespace {

// The view's image, drawn into by the software renderer while it lives.
class SoftwareFrames {
 public:
  explicit SoftwareFrames(ScriptedApplication& app)
      : app_(app),
        view_(app.viewRect()),
        width_(static_cast<int>(view_.maxX - view_.minX)),
        height_(static_cast<int>(view_.maxY - view_.minY)),
        pixels_(static_cast<size_t>(width_) * height_),
        software_(builtInFonts()),
        previous_(installedDrawBackend()) {
    setDrawBackend(&software_);
  }
  ~SoftwareFrames() { setDrawBackend(previous_); }
  SoftwareFrames(const SoftwareFrames&) = delete;
  SoftwareFrames& operator=(const SoftwareFrames&) = delete;

  // The next frame, drawn over the last one as a window's image is.
  void begin() {
    const Vec2 centre = app_.viewCentre();
    software_.beginFrame(
        {pixels_.data(), width_, height_, width_},
        viewTransform(width_, height_, app_.zoom(), translationForCentre(view_, centre.x, centre.y)),
        0xFFFFFF, drawn_);
    drawn_ = true;
  }
  void end() { software_.endFrame(); }
  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<uint32_t>& pixels() const { return pixels_; }

 private:
  ScriptedApplication& app_;
  Rect view_;
  int width_;
  int height_;
  std::vector<uint32_t> pixels_;
  SoftwareDrawBackend software_;
  DrawBackend* previous_;
  bool drawn_ = false;
};

}  // namespace

double timeSoftwareFrames(ScriptedApplication& app, int count) {
  SoftwareFrames frames(app);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    frames.begin();
    app.tick();  // draws, then ticks
    frames.end();
  }
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return count > 0 ? spent.count() / count : 0.0;
}

std::string softwareFramePpm(ScriptedApplication& app) {
  SoftwareFrames frames(app);
  frames.begin();
  app.onDraw();
  frames.end();
  std::string ppm =
      "P6\n" + std::to_string(frames.width()) + " " + std::to_string(frames.height()) + "\n255\n";
  for (uint32_t p : frames.pixels()) {
    ppm += static_cast<char>(p >> 16 & 0xFF);
    ppm += static_cast<char>(p >> 8 & 0xFF);
    ppm += static_cast<char>(p & 0xFF);
  }
  return ppm;
}
