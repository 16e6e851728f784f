#include "platform/glut/RequireDisplay.h"

#include <X11/Xlib.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace {

Display* checked = nullptr;

// A server that resets when its last client leaves refuses connections for
// a moment while it does: a game started just as another closed meets it.
Display* openPatiently() {
  const char* name = std::getenv("DISPLAY");
  const int tries = name && *name ? 40 : 1;  // up to two seconds
  for (int i = 0; i < tries; ++i) {
    if (Display* display = XOpenDisplay(nullptr)) return display;
    const timespec pause{0, 50 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  return nullptr;
}

}  // namespace

bool requireDisplay() {
  if (!checked) checked = openPatiently();
  if (checked) return true;
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

void releaseDisplayCheck() {
  if (checked) XCloseDisplay(checked);
  checked = nullptr;
}
