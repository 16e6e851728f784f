#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/MenuBackend.h"

// The pop-up menus kept as a table that the page draws as its own element
// when the right button goes down: the page asks for a menu's lines
// (describe) and sends a pick back (pick). Plain C++, so the browser's part
// stays in the page's script.
class WebMenuBackend : public MenuBackend {
 public:
  int createMenu(MenuCallback callback) override;
  void destroyMenu(int menu) override;
  void addEntry(int menu, const char* label, int id) override;
  void addSubMenu(int menu, const char* label, int subMenu) override;
  void changeEntry(int menu, int position, const char* label, int id) override;
  void attachToRightButton(int menu) override { attached_ = menu; }

  // The menu on the right button, 0 before one is attached.
  int attached() const { return attached_; }
  // One line per item, in order: "E\t<id>\t<label>" for a command,
  // "M\t<sub-menu>\t<label>" for a sub-menu; empty for an unknown menu.
  std::string describe(int menu) const;
  // A command picked from a menu: its callback gets the id.
  void pick(int menu, int id) const;

 private:
  struct Item {
    std::string label;
    int id = 0;
    bool subMenu = false;
  };
  struct Menu {
    MenuCallback callback = nullptr;
    std::vector<Item> items;
  };
  std::map<int, Menu> menus_;
  int next_ = 1;
  int attached_ = 0;
};
