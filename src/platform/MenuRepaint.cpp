#include "platform/MenuRepaint.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

namespace {

// The bits of an X resource id that name the client (the X server's usual
// split): the menu windows were made by freeglut's connection, as the game
// window was.
constexpr unsigned long kClientBits = ~0x1FFFFFUL;
// How long after mapping a menu window is repainted, and how often: a few
// frames of the window's own, whatever the load.
constexpr auto kRepaintFor = std::chrono::milliseconds(250);
constexpr auto kRepaintEvery = std::chrono::milliseconds(25);

}  // namespace

void MenuRepaint::poll() {
  Display* display = glXGetCurrentDisplay();
  const Window game = glXGetCurrentDrawable();
  if (!display || game == None) return;
  Window root = None;
  Window parent = None;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return;
  const Clock::time_point now = Clock::now();
  for (unsigned int i = 0; i < count; ++i) {
    const Window w = children[i];
    if (w == game || (w & kClientBits) != (game & kClientBits)) continue;
    const auto known = mapped_.find(w);
    if (known != mapped_.end() &&
        (now - known->second.mapped > kRepaintFor || now - known->second.last < kRepaintEvery))
      continue;
    XWindowAttributes attributes;
    // Menus are the game's only windows that skip the window manager.
    if (!XGetWindowAttributes(display, w, &attributes) || !attributes.override_redirect ||
        attributes.map_state != IsViewable)
      continue;
    XClearArea(display, w, 0, 0, 0, 0, True);
    if (known == mapped_.end()) {
      mapped_[w] = {now, now};
    } else {
      known->second.last = now;
    }
  }
  if (children) XFree(children);
  XFlush(display);
}
