#include "platform/glut/MenuRepaint.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

namespace {

// The bits of an X resource id that name the client (the X server's usual
// split): the menu windows were made by freeglut's connection, as the game
// window was.
constexpr unsigned long kClientBits = ~0x1FFFFFUL;
// One paint that may come out wrong, then frames after a swap.
constexpr int kPaints = 3;

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
  bool asked = false;
  for (unsigned int i = 0; i < count; ++i) {
    const Window w = children[i];
    if (w == game || (w & kClientBits) != (game & kClientBits) || paints_[w] >= kPaints) continue;
    XWindowAttributes attributes;
    // Menus are the game's only windows that skip the window manager.
    if (!XGetWindowAttributes(display, w, &attributes) || !attributes.override_redirect ||
        attributes.map_state != IsViewable)
      continue;
    XClearArea(display, w, 0, 0, 0, 0, True);
    ++paints_[w];
    asked = true;
  }
  if (children) XFree(children);
  // The Exposes are then in the queue freeglut reads next, so each paint
  // asked for falls in its own turn of the loop, after the last one's swap.
  if (asked) XSync(display, False);
}
