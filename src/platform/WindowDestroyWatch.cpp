#include "platform/WindowDestroyWatch.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

WindowDestroyWatch::WindowDestroyWatch() {
  Display* glut = glXGetCurrentDisplay();
  const Window window = glXGetCurrentDrawable();
  if (!glut || window == None) return;
  display_ = XOpenDisplay(DisplayString(glut));
  if (!display_) return;
  window_ = window;
  // Each client gets the structure events it selects on a window, so this
  // takes nothing from freeglut's.
  XSelectInput(display_, window_, StructureNotifyMask);
  XFlush(display_);
}

WindowDestroyWatch::~WindowDestroyWatch() {
  if (display_) XCloseDisplay(display_);
}

bool WindowDestroyWatch::destroyed() {
  if (!display_ || destroyed_) return destroyed_;
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == DestroyNotify && event.xdestroywindow.window == window_) destroyed_ = true;
  }
  return destroyed_;
}
