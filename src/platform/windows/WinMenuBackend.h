#pragma once

#include <windows.h>

#include <map>

#include "app/MenuBackend.h"

// The game's menus as native pop-up menus: each menu an HMENU, entries
// named by their command id (a "---" entry without a command is a
// separator). The window opens the menu attached to the right button with
// TrackPopupMenu and hands the pick back through pick().
class WinMenuBackend : public MenuBackend {
 public:
  ~WinMenuBackend() override;
  int createMenu(MenuCallback callback) override;
  void destroyMenu(int menu) override;
  void addEntry(int menu, const char* label, int id) override;
  void addSubMenu(int menu, const char* label, int subMenu) override;
  void changeEntry(int menu, int position, const char* label, int id) override;
  void attachToRightButton(int menu) override { attached_ = menu; }

  // Shows the attached menu at (x, y) on the screen, for window, until the
  // player picks or dismisses it; a pick goes to the menu's callback. The
  // menu's modal loop runs meanwhile: the window keeps the game going with
  // a timer that loop dispatches.
  void popUp(HWND window, int x, int y);

 private:
  struct Menu {
    HMENU handle = nullptr;
    MenuCallback callback = nullptr;
  };
  Menu* find(int menu);

  std::map<int, Menu> menus_;
  int next_ = 1;
  int attached_ = 0;
};
