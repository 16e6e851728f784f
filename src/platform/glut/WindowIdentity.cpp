#include "platform/glut/WindowIdentity.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>
#include <vector>

#include "app/Release.h"
#include "app/WindowIcon.h"

namespace {

// _NET_WM_ICON: width, height and the pixels of each size in turn. Xlib
// takes 32-bit properties as longs, whatever the width of a long.
std::vector<unsigned long> iconProperty() {
  std::vector<unsigned long> cardinals;
  for (const WindowIconImage& image : windowIconImages()) {
    cardinals.push_back(static_cast<unsigned long>(image.size));
    cardinals.push_back(static_cast<unsigned long>(image.size));
    cardinals.insert(cardinals.end(), image.argb.begin(), image.argb.end());
  }
  return cardinals;
}

}  // namespace

void markWindowAsTheGames() {
  // freeglut keeps its X connection and window to itself, but the window is
  // the drawable of the context it has just made current.
  Display* display = glXGetCurrentDisplay();
  const Window window = glXGetCurrentDrawable();
  if (!display || window == None) return;

  std::string instance = release::kProgramName;
  std::string windowClass = release::kApplicationId;
  XClassHint hint;
  hint.res_name = instance.data();
  hint.res_class = windowClass.data();
  XSetClassHint(display, window, &hint);

  const std::vector<unsigned long> icon = iconProperty();
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(icon.data()),
                  static_cast<int>(icon.size()));
  XFlush(display);
}

void setWindowNameUtf8(const char* text) {
  Display* display = glXGetCurrentDisplay();
  const Window window = glXGetCurrentDrawable();
  if (!display || window == None) return;
  const std::string name = text ? text : "";
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  for (const char* property : {"_NET_WM_NAME", "_NET_WM_ICON_NAME"}) {
    XChangeProperty(display, window, XInternAtom(display, property, False), utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(name.data()), static_cast<int>(name.size()));
  }
  XFlush(display);
}
