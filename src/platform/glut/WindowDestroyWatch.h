#pragma once

// Notices, over an X connection of its own, that another client destroyed
// the current GLUT window (xdotool windowclose, a window manager's kill):
// freeglut ignores that, and the game would run on without a window.
class WindowDestroyWatch {
 public:
  // Watches the window of the current GL context; watches nothing when there
  // is none or no connection can be had. X errors about the window once it
  // is gone are ignored from then on (see the source).
  WindowDestroyWatch();
  ~WindowDestroyWatch();
  WindowDestroyWatch(const WindowDestroyWatch&) = delete;
  WindowDestroyWatch& operator=(const WindowDestroyWatch&) = delete;

  // Whether the window is gone; reads only what has already arrived.
  bool destroyed();

 private:
  struct _XDisplay* display_ = nullptr;
  unsigned long window_ = 0;
};
