// What the X desktop says about the screen the game's windows open on.
#pragma once

#include <string>

struct DesktopScreen {
  bool hasXftDpi = false;
  std::string xftDpi;  // the Xft.dpi resource as the desktop set it
  int width = 0;       // of the default screen, in pixels; 0 when unknown
  int height = 0;
};

// Reads the resource database the desktop loaded (xrdb) and the default
// screen's size from the display in DISPLAY.
DesktopScreen readDesktopScreen();
