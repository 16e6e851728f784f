#include "app/GlutMenu.h"

#include <cstdio>

#include "app/Application.h"

namespace {
GlutMenu* registered = nullptr;

// Room for a full label with "Turn " and " Off" or " [disabled]" around it.
constexpr int kShownLabelSize = GlutMenu::kLabelSize + sizeof " [disabled]";
}  // namespace

GlutMenu* registeredMenu() {
  return registered;
}

GlutMenu::GlutMenu(MenuBackend& backend) : backend_(&backend) {
  registered = this;
}

GlutMenu::~GlutMenu() {
  if (registered == this) registered = nullptr;
  clearEntries();
  if (root_ != 0) backend_->destroyMenu(root_);
  root_ = 0;
}

void GlutMenu::menuCallback(int id) {
  if (registered) registered->select(id);
}

void GlutMenu::clearEntries() {
  for (int s = 0; s < kMaxSubMenus; ++s) {
    entryCounts_[s] = 0;
    for (MenuEntry& e : entries_[s]) e = MenuEntry{};
  }
}

void GlutMenu::reset() {
  subMenuCount_ = 0;
  clearEntries();
  // Sub-menus are left to GLUT; only the root is rebuilt.
  if (root_ != 0) backend_->destroyMenu(root_);
  root_ = backend_->createMenu(menuCallback);
  if (root_ != 0) backend_->attachToRightButton(root_);
}

void GlutMenu::addSubMenu(const char* label) {
  if (root_ == 0 || subMenuCount_ >= kMaxSubMenus) return;
  const int menu = backend_->createMenu(menuCallback);
  backend_->addSubMenu(root_, label ? label : "", menu);
  subMenus_[subMenuCount_] = menu;
  entryCounts_[subMenuCount_] = 0;
  ++subMenuCount_;
}

void GlutMenu::addEntry(const char* label, int id, int key, bool* toggle) {
  if (key >= 'a' && key <= 'z') key -= 'a' - 'A';
  if (root_ == 0 || subMenuCount_ == 0) return;
  const int sub = subMenuCount_ - 1;
  if (entryCounts_[sub] >= kMaxEntries) return;
  if (!label) label = "";
  backend_->addEntry(subMenus_[sub], label, id);

  MenuEntry& e = entries_[sub][entryCounts_[sub]++];
  std::snprintf(e.label, sizeof e.label, "%s", label);
  e.id = id;
  e.toggle = toggle;
  e.target = target_;
  e.enabled = true;
  e.key = key;
  if (toggle) setToggle(id, *toggle);
}

void GlutMenu::addSeparator() {
  addEntry("---", -1, 0, nullptr);
}

GlutMenu::Place GlutMenu::find(int id) const {
  for (int s = 0; s < subMenuCount_; ++s) {
    for (int i = 0; i < entryCounts_[s]; ++i) {
      if (entries_[s][i].id == id) return {s, i};
    }
  }
  return {};
}

void GlutMenu::setToggle(int id, bool state) {
  const Place p = find(id);
  if (p.subMenu < 0) return;
  MenuEntry& e = at(p);
  if (!e.toggle) return;
  *e.toggle = state;
  char shown[kShownLabelSize];
  std::snprintf(shown, sizeof shown, "Turn %s %s", e.label, state ? "Off" : "On");
  backend_->changeEntry(subMenus_[p.subMenu], p.index + 1, shown, e.id);
}

void GlutMenu::setEnabled(int id, bool enabled) {
  const Place p = find(id);
  if (p.subMenu < 0) return;
  MenuEntry& e = at(p);
  e.enabled = enabled;
  char shown[kShownLabelSize];
  std::snprintf(shown, sizeof shown, enabled ? "%s" : "%s [disabled]", e.label);
  backend_->changeEntry(subMenus_[p.subMenu], p.index + 1, shown, e.id);
}

bool GlutMenu::hasEntry(int id) const {
  return find(id).subMenu >= 0;
}

bool GlutMenu::findByKey(int key, int* id) const {
  if (key == 0) return false;  // 0 marks entries without a shortcut
  for (int s = 0; s < subMenuCount_; ++s) {
    for (int i = 0; i < entryCounts_[s]; ++i) {
      if (entries_[s][i].key == key) {
        if (id) *id = entries_[s][i].id;
        return true;
      }
    }
  }
  return false;
}

void GlutMenu::select(int id) {
  const Place p = find(id);
  if (p.subMenu < 0) return;
  MenuEntry& e = at(p);
  // The flag flips and the label changes before the command goes out, so
  // the receiver already sees the new state.
  if (e.toggle) setToggle(id, !*e.toggle);
  if (!e.enabled) return;
  Application* receiver = e.target ? e.target : globalApplication();
  if (receiver) receiver->onMenuCommand(id);
}

bool GlutMenu::handleKey(int key) {
  if (key >= 'a' && key <= 'z') {
    key -= 'a' - 'A';
  } else if (key >= 'A' && key <= 'Z') {
    key += 'a' - 'A';
  }
  int id = 0;
  if (!findByKey(key, &id)) return false;
  select(id);
  return true;
}

int GlutMenu::entryCount(int subMenu) const {
  return subMenu >= 0 && subMenu < subMenuCount_ ? entryCounts_[subMenu] : 0;
}

const MenuEntry* GlutMenu::entry(int subMenu, int index) const {
  if (index < 0 || index >= entryCount(subMenu)) return nullptr;
  return &entries_[subMenu][index];
}

int GlutMenu::subMenuId(int subMenu) const {
  return subMenu >= 0 && subMenu < subMenuCount_ ? subMenus_[subMenu] : 0;
}
