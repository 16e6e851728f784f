#include "platform/RequireDisplay.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

Display* checked = nullptr;

}  // namespace

bool requireDisplay() {
  if (!checked) checked = XOpenDisplay(nullptr);
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
