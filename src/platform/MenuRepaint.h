#pragma once

#include <chrono>
#include <map>

// Works around the first paints of a freeglut menu, which show black, or
// the sub-menu 96 pixels low with its last entries cut. freeglut sizes a
// menu window when it opens it, and Mesa's software GL puts the first frames
// it draws into the window as if it still had the size it had when its
// context first met it (300 by 300, bottom-aligned: a 29-pixel menu lands
// below the window, a 204-pixel one 96 pixels low); only a later frame comes
// out right, which freeglut draws when the pointer moves. So for a moment
// after each of the game's menu windows is mapped, it is asked for more
// paints (Exposes).
class MenuRepaint {
 public:
  // While a menu is open, with the game window's context current.
  void poll();
  // Once the menus have closed: the next opening is watched afresh.
  void reset() { mapped_.clear(); }

 private:
  using Clock = std::chrono::steady_clock;
  struct Repaints {
    Clock::time_point mapped;
    Clock::time_point last;
  };
  std::map<unsigned long, Repaints> mapped_;
};
