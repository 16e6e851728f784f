// The choice of the windows' scale from the desktop, the player and the screen.
#include "app/WindowScale.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

// A window manager's title bar and a desktop panel take about this much of
// the screen's height.
constexpr int kScreenHeightReserve = 48;
// The desktop's resolution at a scale of 1.
constexpr double kBaseDpi = 96.0;
// A screen too small for even this is drawn at it anyway: smaller, nothing
// could be read.
constexpr int kSmallestWindow = 200;

std::optional<double> parseNumber(const char* text) {
  if (!text || !*text) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text, &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

double bounded(double scale) {
  return std::clamp(scale, kMinAskedScale, kMaxAskedScale);
}

}  // namespace

std::optional<double> parseScale(const char* text) {
  const std::optional<double> value = parseNumber(text);
  if (!value || !(*value > 0.0)) return std::nullopt;
  return bounded(*value);
}

ScaleChoice chooseWindowScale(const ScaleSources& sources) {
  ScaleChoice choice;
  double scale = 1.0;
  if (sources.xftDpi) {
    const std::optional<double> dpi = parseNumber(sources.xftDpi);
    if (dpi && *dpi > 0.0) {
      scale = bounded(*dpi / kBaseDpi);
    } else {
      choice.warnings.push_back(std::string("verlomba: ignoring the desktop's Xft.dpi \"") + sources.xftDpi +
                                "\": not a resolution");
    }
  }
  if (sources.commandLine) {
    scale = bounded(*sources.commandLine);
  } else if (sources.environment) {
    if (const std::optional<double> asked = parseScale(sources.environment)) {
      scale = *asked;
    } else {
      choice.warnings.push_back(std::string("verlomba: ignoring VERLOMBA_SCALE=\"") + sources.environment +
                                "\": not a number above 0 (0.5 to 4 is used)");
    }
  }
  int size = static_cast<int>(std::lround(scale * kFieldUnits));
  if (sources.screenWidth > 0 && sources.screenHeight > 0) {
    const int room = std::min(sources.screenWidth, sources.screenHeight - kScreenHeightReserve);
    size = std::max(std::min(size, room), std::min(size, kSmallestWindow));
  }
  choice.windowSize = size;
  choice.scale = static_cast<double>(size) / kFieldUnits;
  return choice;
}

namespace {
double chosenScale = 1.0;
}  // namespace

double windowScale() {
  return chosenScale;
}

void setWindowScale(double scale) {
  chosenScale = scale;
}
