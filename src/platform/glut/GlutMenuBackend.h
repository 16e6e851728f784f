#pragma once

#include <functional>
#include <vector>

#include "app/MenuBackend.h"

// The real GLUT menus. freeglut ends the process when a menu is changed
// while one is open, and the game keeps ticking (and may relabel entries)
// while the player browses, so changes made then wait until the menu has
// closed and flushPending() runs.
class GlutMenuBackend : public MenuBackend {
 public:
  int createMenu(MenuCallback callback) override;
  void destroyMenu(int menu) override;
  void addEntry(int menu, const char* label, int id) override;
  void addSubMenu(int menu, const char* label, int subMenu) override;
  void changeEntry(int menu, int position, const char* label, int id) override;
  void attachToRightButton(int menu) override;

  // Applies the changes held back while a menu was open; the window's idle
  // callback calls it.
  void flushPending();
  bool isMenuOpen() const { return menuOpen_; }
  void setMenuOpen(bool open) { menuOpen_ = open; }

 private:
  void apply(std::function<void()> change);

  bool menuOpen_ = false;
  bool statusWatched_ = false;
  std::vector<std::function<void()>> pending_;
};

// The one instance every GlutMenu without a backend of its own uses.
GlutMenuBackend& glutMenuBackend();
