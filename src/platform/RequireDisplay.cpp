#include "platform/RequireDisplay.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

bool requireDisplay() {
  Display* display = XOpenDisplay(nullptr);
  if (display) {
    XCloseDisplay(display);
    return true;
  }
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) {
    std::fprintf(stderr,
                 "verlomba: cannot open the X display: DISPLAY is not set; start the game from a desktop "
                 "session or set DISPLAY\n");
  } else {
    std::fprintf(stderr,
                 "verlomba: cannot open the X display \"%s\"; check DISPLAY or start the game from a desktop "
                 "session\n",
                 name);
  }
  return false;
}
