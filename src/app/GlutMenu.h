#pragma once

#include "app/MenuBackend.h"

class Application;

// One command of a sub-menu, as the menu remembers it.
struct MenuEntry {
  int key = 0;                    // shortcut, letters upper-case; 0 for none
  int id = -1;                    // command id; -1 for separators
  bool* toggle = nullptr;         // flag flipped by a pick, owned by the caller
  Application* target = nullptr;  // receiver of picks; none sends to the global application
  bool enabled = false;
  char label[64] = {};  // the plain label; the menu may show a toggle or disabled form
};

// The window's pop-up menu on the right mouse button: a root menu holding
// named sub-menus of command entries. Entries may be bound to a bool that a
// pick flips; their label then names the action the next pick performs.
// Full tables ignore further additions.
class GlutMenu {
 public:
  static constexpr int kMaxSubMenus = 12;
  static constexpr int kMaxEntries = 20;
  static constexpr int kLabelSize = 64;

  // The menus are made through backend (not owned): the platform's menus,
  // or a recorder in tests. Registers this menu as the receiver of picks.
  explicit GlutMenu(MenuBackend& backend);
  GlutMenu(const GlutMenu&) = delete;
  GlutMenu& operator=(const GlutMenu&) = delete;

  // Forgets every entry and makes a fresh root menu on the right button.
  virtual void reset();
  virtual void addSubMenu(const char* label);
  // Adds to the last sub-menu. A toggle entry shows its "Turn ... On/Off"
  // form at once.
  virtual void addEntry(const char* label, int id, int key = 0, bool* toggle = nullptr);
  virtual void addSeparator();
  virtual void reserved() {}
  virtual bool isReady() const { return root_ != 0; }
  virtual void setEnabled(int id, bool enabled);
  virtual void setToggle(int id, bool state);
  virtual bool hasEntry(int id) const;
  virtual bool findByKey(int key, int* id) const;
  // Acts as a pick of id: flips its toggle, then sends the command unless
  // the entry is disabled.
  virtual void select(int id);
  // Looks the key up with its case swapped and selects what it finds.
  virtual bool handleKey(int key);
  virtual ~GlutMenu();

  void setTarget(Application* target) { target_ = target; }
  int subMenuCount() const { return subMenuCount_; }
  int entryCount(int subMenu) const;
  // nullptr outside the entries added so far.
  const MenuEntry* entry(int subMenu, int index) const;
  int rootMenuId() const { return root_; }
  int subMenuId(int subMenu) const;

 private:
  struct Place {
    int subMenu = -1;
    int index = -1;
  };
  Place find(int id) const;
  MenuEntry& at(Place p) { return entries_[p.subMenu][p.index]; }
  void clearEntries();
  static void menuCallback(int id);

  MenuBackend* backend_;
  Application* target_ = nullptr;
  int subMenuCount_ = 0;
  int root_ = 0;
  int subMenus_[kMaxSubMenus] = {};
  int entryCounts_[kMaxSubMenus] = {};
  MenuEntry entries_[kMaxSubMenus][kMaxEntries];
};

// The menu that GLUT's picks go to (the last one built), or nullptr.
GlutMenu* registeredMenu();
