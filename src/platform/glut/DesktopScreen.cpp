// Reading Xft.dpi and the screen size from the X display.
#include "platform/glut/DesktopScreen.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>

DesktopScreen readDesktopScreen() {
  DesktopScreen screen;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return screen;
  screen.width = DisplayWidth(display, DefaultScreen(display));
  screen.height = DisplayHeight(display, DefaultScreen(display));
  // The desktop's resources, as xrdb loaded them on the root window.
  if (const char* resources = XResourceManagerString(display)) {
    XrmInitialize();
    if (XrmDatabase database = XrmGetStringDatabase(resources)) {
      char* type = nullptr;
      XrmValue value;
      if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
        screen.hasXftDpi = true;
        screen.xftDpi = value.addr;
      }
      XrmDestroyDatabase(database);
    }
  }
  XCloseDisplay(display);
  return screen;
}
