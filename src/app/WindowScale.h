// How large the game's windows are drawn: the scale chosen once at start-up.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The game's field is this many units square at every scale.
constexpr int kFieldUnits = 800;

// A scale the player asked for bounds to this range.
constexpr double kMinAskedScale = 0.5;
constexpr double kMaxAskedScale = 4.0;

// Reads a scale the player gave (--scale, VERLOMBA_SCALE): a finite number
// above 0, brought within 0.5-4. Nothing for anything else ("abc", "0", a
// negative number, "nan", "1x").
std::optional<double> parseScale(const char* text);

// Where the scale may come from, as read at start-up.
struct ScaleSources {
  std::optional<double> commandLine;  // --scale, already parsed
  const char* environment = nullptr;  // VERLOMBA_SCALE, if set
  const char* xftDpi = nullptr;       // the desktop's Xft.dpi resource, if set
  int screenWidth = 0;                // 0 when the screen is not known
  int screenHeight = 0;
};

struct ScaleChoice {
  double scale = 1.0;  // window pixels per unit: windowSize / kFieldUnits
  int windowSize = kFieldUnits;
  // One line for each source that was ignored, for standard error.
  std::vector<std::string> warnings;
};

// The desktop's Xft.dpi over 96, unless the command line or else the
// environment says otherwise; then lowered until the window fits the screen
// with room for a title bar and a panel (its height less 48 pixels).
ScaleChoice chooseWindowScale(const ScaleSources& sources);

// The chosen scale, for every window of the process (1 until set).
double windowScale();
void setWindowScale(double scale);
