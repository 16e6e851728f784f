// The choice of the windows' scale from the desktop, the player and the screen.
#include <gtest/gtest.h>

#include <optional>

#include "app/WindowScale.h"

TEST(WindowScaleTest, DesktopThenPlayerThenScreen) {
  const std::nullopt_t none = std::nullopt;
  // Sources: command line, VERLOMBA_SCALE, Xft.dpi, screen size.
  const struct {
    ScaleSources sources;
    int windowSize;
    size_t warnings;
  } cases[] = {
      {{none, nullptr, nullptr, 1920, 1080}, 800, 0},  // nothing said: 1
      {{none, nullptr, "192", 3840, 2160}, 1600, 0},   // 200 % desktop
      {{none, nullptr, "144.0", 0, 0}, 1200, 0},       // screen unknown: no fit
      {{none, "1.5", "192", 3840, 2160}, 1200, 0},     // environment over desktop
      {{0.75, "1.5", "192", 3840, 2160}, 600, 0},      // command line over both
      {{none, "9", nullptr, 0, 0}, 3200, 0},           // bounded to 4
      {{none, "0.2", nullptr, 0, 0}, 400, 0},          // bounded to 0.5
      {{none, nullptr, nullptr, 1366, 768}, 720, 0},   // fits 768 - 48
      {{none, nullptr, "192", 1920, 1080}, 1032, 0},   // lowered to fit
      {{2.0, nullptr, nullptr, 1000, 2000}, 1000, 0},  // a tall screen: its width
      {{none, "nan", "abc", 1920, 1080}, 800, 2},      // both ignored, one line each
      {{none, "0", "-96", 1920, 1080}, 800, 2},       {{none, "", "", 1920, 1080}, 800, 2},
      {{none, nullptr, nullptr, 120, 100}, 200, 0},  // smaller than any window
  };
  for (const auto& c : cases) {
    const ScaleChoice choice = chooseWindowScale(c.sources);
    const std::string what = std::string(c.sources.xftDpi ? c.sources.xftDpi : "-") + " " +
                             std::to_string(c.sources.screenWidth) + "x" +
                             std::to_string(c.sources.screenHeight);
    EXPECT_EQ(choice.windowSize, c.windowSize) << what;
    EXPECT_DOUBLE_EQ(choice.scale, c.windowSize / 800.0) << what;
    EXPECT_EQ(choice.warnings.size(), c.warnings) << what;
  }
}
