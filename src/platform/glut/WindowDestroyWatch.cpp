#include "platform/glut/WindowDestroyWatch.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

namespace {

// The windows watched and those known to be gone (a window stays on both
// lists once gone: freeglut may still make requests on it), and the handler
// of X errors before ours.
std::vector<Window> watched;
std::vector<Window> gone;
XErrorHandler previousHandler = nullptr;
bool handlerInstalled = false;
// GLX's first error code on the game's display (-1: none), read before any
// error arrives: a handler may make no request. Its drawable and window
// errors are 2 and 12 above it (glxproto.h).
int glxErrorBase = -1;
constexpr int kGlxBadDrawable = 2;
constexpr int kGlxBadWindow = 12;

bool contains(const std::vector<Window>& windows, Window w) {
  return std::find(windows.begin(), windows.end(), w) != windows.end();
}

bool isNoSuchWindow(int code) {
  return code == BadWindow || code == BadDrawable ||
         (glxErrorBase >= 0 &&
          (code == glxErrorBase + kGlxBadDrawable || code == glxErrorBase + kGlxBadWindow));
}

// A frame may be drawn or swapped, or freeglut take its windows down as the
// process ends, after a window is destroyed and before its watch has read
// so: those requests fail, which is no fault of the game's, and tell that
// the window is gone as well as the event does.
int forgiveErrorsOnGoneWindows(Display* display, XErrorEvent* error) {
  const Window w = error->resourceid;
  if (contains(gone, w) || (contains(watched, w) && isNoSuchWindow(error->error_code))) {
    if (!contains(gone, w)) gone.push_back(w);
    return 0;
  }
  return previousHandler ? previousHandler(display, error) : 0;
}

}  // namespace

WindowDestroyWatch::WindowDestroyWatch() {
  Display* glut = glXGetCurrentDisplay();
  const Window window = glXGetCurrentDrawable();
  if (!glut || window == None) return;
  display_ = XOpenDisplay(DisplayString(glut));
  if (!display_) return;
  window_ = window;
  watched.push_back(window);
  if (!handlerInstalled) {
    int eventBase = 0;
    if (!glXQueryExtension(glut, &glxErrorBase, &eventBase)) glxErrorBase = -1;
    previousHandler = XSetErrorHandler(forgiveErrorsOnGoneWindows);
    handlerInstalled = true;
  }
  // Each client gets the structure events it selects on a window, so this
  // takes nothing from freeglut's.
  XSelectInput(display_, window_, StructureNotifyMask);
  XFlush(display_);
}

WindowDestroyWatch::~WindowDestroyWatch() {
  if (!display_) return;
  XCloseDisplay(display_);
  if (!contains(gone, window_)) watched.erase(std::find(watched.begin(), watched.end(), window_));
}

bool WindowDestroyWatch::destroyed() {
  if (!display_) return false;
  while (!contains(gone, window_) && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == DestroyNotify && event.xdestroywindow.window == window_) gone.push_back(window_);
  }
  return contains(gone, window_);
}
