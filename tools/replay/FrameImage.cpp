#include "replay/FrameImage.h"

#include <vector>

#include "app/InputMapping.h"
#include "doubles/ScriptedApplication.h"
#include "draw/BuiltInFonts.h"
#include "draw/DrawBackend.h"
#include "draw/software/SoftwareDrawBackend.h"

std::string softwareFramePpm(ScriptedApplication& app) {
  const Rect view = app.viewRect();
  const int width = static_cast<int>(view.maxX - view.minX);
  const int height = static_cast<int>(view.maxY - view.minY);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  const Vec2 centre = app.viewCentre();
  SoftwareDrawBackend software(builtInFonts());
  DrawBackend* previous = installedDrawBackend();
  setDrawBackend(&software);
  software.beginFrame(
      {pixels.data(), width, height, width},
      viewTransform(width, height, app.zoom(), translationForCentre(view, centre.x, centre.y)), 0xFFFFFF);
  app.onDraw();
  software.endFrame();
  setDrawBackend(previous);

  std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  for (uint32_t p : pixels) {
    ppm += static_cast<char>(p >> 16 & 0xFF);
    ppm += static_cast<char>(p >> 8 & 0xFF);
    ppm += static_cast<char>(p & 0xFF);
  }
  return ppm;
}
