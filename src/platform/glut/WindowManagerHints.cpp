// Size hints and the EWMH fullscreen state of the game's window.
#include "platform/glut/WindowManagerHints.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// _NET_WM_STATE client message actions.
constexpr long kStateRemove = 0;
constexpr long kStateAdd = 1;
constexpr long kSourceApplication = 1;

struct CurrentWindow {
  Display* display = glXGetCurrentDisplay();
  Window window = glXGetCurrentDrawable();
  bool valid() const { return display && window; }
};

// Whether the atom list property on window holds atom.
bool listHolds(Display* display, Window window, Atom property, Atom atom) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool found = false;
  if (XGetWindowProperty(display, window, property, 0, 1024, False, XA_ATOM, &type, &format, &count, &after,
                         &data) == Success &&
      data) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; format == 32 && i < count; ++i) found = found || atoms[i] == atom;
  }
  if (data) XFree(data);
  return found;
}

// Where window's top left corner is on the screen.
void screenPosition(Display* display, Window window, int& x, int& y) {
  Window child = None;
  x = y = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
}

// Before covering the screen by hand: where the window was.
int savedX = 0;
int savedY = 0;

}  // namespace

void fixWindowSize(int width, int height) {
  const CurrentWindow w;
  if (!w.valid()) return;
  XSizeHints hints{};
  long supplied = 0;
  XGetWMNormalHints(w.display, w.window, &hints, &supplied);
  hints.flags &= ~(PMinSize | PMaxSize | PSize | PBaseSize);
  if (width > 0 && height > 0) {
    hints.flags |= PMinSize | PMaxSize | PSize | PBaseSize;
    hints.width = hints.min_width = hints.max_width = hints.base_width = width;
    hints.height = hints.min_height = hints.max_height = hints.base_height = height;
  }
  XSetWMNormalHints(w.display, w.window, &hints);
  XFlush(w.display);
}

bool isShownFullscreen() {
  const CurrentWindow w;
  if (!w.valid()) return false;
  return listHolds(w.display, w.window, XInternAtom(w.display, "_NET_WM_STATE", False),
                   XInternAtom(w.display, "_NET_WM_STATE_FULLSCREEN", False));
}

bool askFullscreen(bool on, int width, int height) {
  const CurrentWindow w;
  if (!w.valid()) return false;
  Display* d = w.display;
  const Window root = DefaultRootWindow(d);
  const Atom state = XInternAtom(d, "_NET_WM_STATE", False);
  const Atom fullscreen = XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", False);
  const bool managed = listHolds(d, root, XInternAtom(d, "_NET_SUPPORTED", False), fullscreen);
  if (managed) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w.window;
    e.xclient.message_type = state;
    e.xclient.format = 32;
    e.xclient.data.l[0] = on ? kStateAdd : kStateRemove;
    e.xclient.data.l[1] = static_cast<long>(fullscreen);
    e.xclient.data.l[3] = kSourceApplication;
    XSendEvent(d, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  } else if (on) {
    screenPosition(d, w.window, savedX, savedY);
    const int screen = DefaultScreen(d);
    XMoveResizeWindow(d, w.window, 0, 0, static_cast<unsigned>(DisplayWidth(d, screen)),
                      static_cast<unsigned>(DisplayHeight(d, screen)));
  } else {
    XMoveResizeWindow(d, w.window, savedX, savedY, static_cast<unsigned>(width),
                      static_cast<unsigned>(height));
  }
  XFlush(d);
  return managed;
}
