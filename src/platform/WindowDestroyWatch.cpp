#include "platform/WindowDestroyWatch.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

namespace {

// The window watched, whether it is known to be gone, and the handler of X
// errors before ours.
Window watched = None;
bool gone = false;
XErrorHandler previousHandler = nullptr;

// A frame may be drawn, or freeglut take its windows down as the process
// ends, after the window is destroyed and before the watch has read so:
// those requests fail, which is no fault of the game's, and tell that the
// window is gone as well as the event does.
int forgiveErrorsOnGoneWindow(Display* display, XErrorEvent* error) {
  if (watched != None && error->resourceid == watched &&
      (gone || error->error_code == BadWindow || error->error_code == BadDrawable)) {
    gone = true;
    return 0;
  }
  return previousHandler ? previousHandler(display, error) : 0;
}

}  // namespace

WindowDestroyWatch::WindowDestroyWatch() {
  Display* glut = glXGetCurrentDisplay();
  const Window window = glXGetCurrentDrawable();
  if (!glut || window == None || watched != None) return;
  display_ = XOpenDisplay(DisplayString(glut));
  if (!display_) return;
  window_ = window;
  watched = window;
  previousHandler = XSetErrorHandler(forgiveErrorsOnGoneWindow);
  // Each client gets the structure events it selects on a window, so this
  // takes nothing from freeglut's.
  XSelectInput(display_, window_, StructureNotifyMask);
  XFlush(display_);
}

WindowDestroyWatch::~WindowDestroyWatch() {
  if (!display_) return;
  XCloseDisplay(display_);
  if (!gone) {
    XSetErrorHandler(previousHandler);
    watched = None;
  }
}

bool WindowDestroyWatch::destroyed() {
  if (!display_) return false;
  while (!gone && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == DestroyNotify && event.xdestroywindow.window == window_) gone = true;
  }
  return gone;
}
