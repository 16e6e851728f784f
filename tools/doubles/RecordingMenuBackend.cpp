#include "doubles/RecordingMenuBackend.h"

int RecordingMenuBackend::createMenu(MenuCallback callback) {
  callback_ = callback;
  Menu menu;
  menu.id = static_cast<int>(menus_.size()) + 1;
  menus_.push_back(menu);
  return menu.id;
}

void RecordingMenuBackend::destroyMenu(int menu) {
  if (Menu* m = findMutable(menu)) m->destroyed = true;
  if (attached_ == menu) attached_ = 0;
}

void RecordingMenuBackend::addEntry(int menu, const char* label, int id) {
  if (Menu* m = findMutable(menu)) m->items.push_back({label, id, 0});
}

void RecordingMenuBackend::addSubMenu(int menu, const char* label, int subMenu) {
  if (Menu* m = findMutable(menu)) m->items.push_back({label, 0, subMenu});
}

void RecordingMenuBackend::changeEntry(int menu, int position, const char* label, int id) {
  Menu* m = findMutable(menu);
  if (!m || position < 1 || position > static_cast<int>(m->items.size())) return;
  m->items[position - 1] = {label, id, 0};
  ++changes_;
}

void RecordingMenuBackend::pick(int id) const {
  if (callback_) callback_(id);
}

const RecordingMenuBackend::Menu* RecordingMenuBackend::find(int menu) const {
  if (menu < 1 || menu > static_cast<int>(menus_.size())) return nullptr;
  return &menus_[menu - 1];
}

RecordingMenuBackend::Menu* RecordingMenuBackend::findMutable(int menu) {
  return const_cast<Menu*>(find(menu));
}

std::string RecordingMenuBackend::label(int menu, int position) const {
  const Menu* m = find(menu);
  if (!m || position < 1 || position > static_cast<int>(m->items.size())) return "";
  return m->items[position - 1].label;
}

int RecordingMenuBackend::itemCount(int menu) const {
  const Menu* m = find(menu);
  return m ? static_cast<int>(m->items.size()) : 0;
}
