#pragma once

// Where the pop-up menus are really made: GLUT in the game, a recorder in
// tests. Menus are named by the ids that createMenu hands out (never 0);
// entry positions count from 1.
using MenuCallback = void (*)(int id);

class MenuBackend {
 public:
  virtual ~MenuBackend() = default;
  virtual int createMenu(MenuCallback callback) = 0;
  virtual void destroyMenu(int menu) = 0;
  virtual void addEntry(int menu, const char* label, int id) = 0;
  virtual void addSubMenu(int menu, const char* label, int subMenu) = 0;
  virtual void changeEntry(int menu, int position, const char* label, int id) = 0;
  virtual void attachToRightButton(int menu) = 0;
};
