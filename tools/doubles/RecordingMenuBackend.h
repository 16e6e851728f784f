#pragma once

#include <string>
#include <vector>

#include "app/MenuBackend.h"

// A menu backend that only remembers what was asked of it, so menus can be
// built, inspected and picked from without a display.
class RecordingMenuBackend : public MenuBackend {
 public:
  struct Item {
    std::string label;
    int id = 0;       // command id; 0 for a sub-menu item
    int subMenu = 0;  // the menu this item opens, 0 for a plain entry
  };
  struct Menu {
    int id = 0;
    bool destroyed = false;
    std::vector<Item> items;
  };

  int createMenu(MenuCallback callback) override;
  void destroyMenu(int menu) override;
  void addEntry(int menu, const char* label, int id) override;
  void addSubMenu(int menu, const char* label, int subMenu) override;
  void changeEntry(int menu, int position, const char* label, int id) override;
  void attachToRightButton(int menu) override { attached_ = menu; }

  // Delivers a pick the way GLUT would: through the callback of the menus.
  void pick(int id) const;

  const std::vector<Menu>& menus() const { return menus_; }
  // nullptr for an id that was never handed out.
  const Menu* find(int menu) const;
  // The label at a position (from 1), or "" when there is none.
  std::string label(int menu, int position) const;
  int itemCount(int menu) const;
  int attachedMenu() const { return attached_; }
  int changeCount() const { return changes_; }

 private:
  Menu* findMutable(int menu);

  std::vector<Menu> menus_;
  MenuCallback callback_ = nullptr;
  int attached_ = 0;
  int changes_ = 0;
};
