#pragma once

#include <map>

// Works around the first paints of a freeglut menu, which show black, or
// the sub-menu 96 pixels low with its last entries cut. freeglut sizes a
// menu window when it opens it, and Mesa's software GL puts the first frame
// it draws there as if the window still had the size it had when its
// context first met it (300 by 300, bottom-aligned: a 29-pixel menu lands
// below the window, a 204-pixel one 96 pixels low); frames drawn after a
// buffer swap come out right, as freeglut's next one does when the pointer
// moves. So each of the game's menu windows, once mapped, is asked for a
// paint (an Expose) on each of the next few turns of the main loop.
class MenuRepaint {
 public:
  // Once per turn of the main loop while a menu is open, with the game
  // window's context current.
  void poll();
  // Once the menus have closed: the next opening is watched afresh.
  void reset() { paints_.clear(); }

 private:
  std::map<unsigned long, int> paints_;  // asked of each window mapped
};
