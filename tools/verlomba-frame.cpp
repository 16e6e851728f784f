// Plays a replay script headless and draws its last tick's frame with the
// software renderer, the 800-unit view at a scale of 1 or SCALE, as a binary
// PPM: the same script gives the same picture on every platform. Text at
// that scale is drawn with the platform's fonts for it (fontsAtScale), so
// give a scale those are made for.
//
//   verlomba-frame SCRIPT OUTPUT.ppm [SCALE]

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/InputMapping.h"
#include "doubles/ScriptedApplication.h"
#include "draw/BuiltInFonts.h"
#include "draw/DrawBackend.h"
#include "draw/ScaledFonts.h"
#include "draw/software/SoftwareDrawBackend.h"
#include "replay/Replay.h"

namespace {

constexpr int kSize = 800;

bool writePpm(const std::string& path, const std::vector<uint32_t>& pixels, int size) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << size << ' ' << size << "\n255\n";
  for (uint32_t p : pixels) {
    const char rgb[3] = {static_cast<char>(p >> 16 & 0xFF), static_cast<char>(p >> 8 & 0xFF),
                         static_cast<char>(p & 0xFF)};
    out.write(rgb, 3);
  }
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  const double scale = argc == 4 ? std::strtod(argv[3], nullptr) : 1.0;
  if ((argc != 3 && argc != 4) || !(scale >= 0.5 && scale <= 4.0)) {
    std::fprintf(stderr, "usage: verlomba-frame SCRIPT OUTPUT.ppm [SCALE, 0.5 to 4]\n");
    return 2;
  }
  try {
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    ReplayScript script;
    std::string error;
    if (!in || !parseReplayScript(text.str(), script, &error)) {
      std::fprintf(stderr, "verlomba-frame: %s: %s\n", argv[1],
                   error.empty() ? "cannot read" : error.c_str());
      return 2;
    }
    ReplayRun run(script);
    while (run.tick() + 1 < script.ticks) run.step();

    // The last tick draws into the software renderer instead of nowhere.
    const int size = static_cast<int>(std::lround(kSize * scale));
    std::vector<uint32_t> pixels(static_cast<std::size_t>(size) * size);
    SoftwareDrawBackend software(builtInFonts());
    if (!fontsAtScale(scale).empty()) software.setFonts(fontsAtScale(scale), static_cast<float>(scale));
    ScriptedApplication& app = run.app();
    const Rect view = app.viewRect();
    software.beginFrame(
        {pixels.data(), size, size, size},
        viewTransform(kSize, kSize, app.zoom(),
                      translationForCentre(view, app.viewCentre().x, app.viewCentre().y), scale),
        0xFFFFFF);
    DrawBackend* previous = installedDrawBackend();
    setDrawBackend(&software);
    run.step();
    software.endFrame();
    setDrawBackend(previous);
    if (!writePpm(argv[2], pixels, size)) {
      std::fprintf(stderr, "verlomba-frame: cannot write %s\n", argv[2]);
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "verlomba-frame: %s\n", e.what());
    return 1;
  }
  return 0;
}
