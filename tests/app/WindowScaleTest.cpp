// The choice of the windows' scale from the desktop, the player and the screen.
#include <gtest/gtest.h>

#include <optional>

#include "app/WindowScale.h"

TEST(WindowScaleTest, DesktopThenPlayerThenScreen) {
  struct Case {
    const char* xftDpi;
    std::optional<double> commandLine;
    const char* environment;
    int screenWidth, screenHeight;
    int windowSize;
    size_t warnings;
  };
  const Case cases[] = {
      {nullptr, std::nullopt, nullptr, 1920, 1080, 800, 0},  // nothing said: 1
      {"192", std::nullopt, nullptr, 3840, 2160, 1600, 0},   // 200 % desktop
      {"144.0", std::nullopt, nullptr, 0, 0, 1200, 0},       // screen unknown: no fit
      {"192", std::nullopt, "1.5", 3840, 2160, 1200, 0},     // environment over desktop
      {"192", 0.75, "1.5", 3840, 2160, 600, 0},              // command line over both
      {nullptr, std::nullopt, "9", 0, 0, 3200, 0},           // bounded to 4
      {nullptr, std::nullopt, "0.2", 0, 0, 400, 0},          // bounded to 0.5
      {nullptr, std::nullopt, nullptr, 1366, 768, 720, 0},   // fits 768 - 48
      {"192", std::nullopt, nullptr, 1920, 1080, 1032, 0},   // lowered to fit
      {nullptr, 2.0, nullptr, 1000, 2000, 1000, 0},          // a tall screen: its width
      {"abc", std::nullopt, "nan", 1920, 1080, 800, 2},      // both ignored, one line each
      {"-96", std::nullopt, "0", 1920, 1080, 800, 2},
      {"", std::nullopt, "", 1920, 1080, 800, 2},
      {nullptr, std::nullopt, nullptr, 120, 100, 200, 0},  // smaller than any window
  };
  for (const Case& c : cases) {
    ScaleSources sources;
    sources.xftDpi = c.xftDpi;
    sources.commandLine = c.commandLine;
    sources.environment = c.environment;
    sources.screenWidth = c.screenWidth;
    sources.screenHeight = c.screenHeight;
    const ScaleChoice choice = chooseWindowScale(sources);
    const char* dpi = c.xftDpi ? c.xftDpi : "-";
    EXPECT_EQ(choice.windowSize, c.windowSize) << dpi << " " << c.screenWidth << "x" << c.screenHeight;
    EXPECT_DOUBLE_EQ(choice.scale, c.windowSize / 800.0) << dpi;
    EXPECT_EQ(choice.warnings.size(), c.warnings) << dpi;
  }
}
