#include "platform/web/WebMenuBackend.h"

int WebMenuBackend::createMenu(MenuCallback callback) {
  menus_[next_].callback = callback;
  return next_++;
}

void WebMenuBackend::destroyMenu(int menu) {
  menus_.erase(menu);
  if (attached_ == menu) attached_ = 0;
}

void WebMenuBackend::addEntry(int menu, const char* label, int id) {
  auto m = menus_.find(menu);
  if (m != menus_.end()) m->second.items.push_back({label ? label : "", id, false});
}

void WebMenuBackend::addSubMenu(int menu, const char* label, int subMenu) {
  auto m = menus_.find(menu);
  if (m != menus_.end()) m->second.items.push_back({label ? label : "", subMenu, true});
}

void WebMenuBackend::changeEntry(int menu, int position, const char* label, int id) {
  auto m = menus_.find(menu);
  if (m == menus_.end() || position < 1 || position > static_cast<int>(m->second.items.size())) return;
  m->second.items[position - 1] = {label ? label : "", id, false};
}

std::string WebMenuBackend::describe(int menu) const {
  std::string text;
  auto m = menus_.find(menu);
  if (m == menus_.end()) return text;
  for (const Item& item : m->second.items) {
    text += item.subMenu ? "M\t" : "E\t";
    text += std::to_string(item.id) + "\t" + item.label + "\n";
  }
  return text;
}

void WebMenuBackend::pick(int menu, int id) const {
  auto m = menus_.find(menu);
  if (m == menus_.end() || !m->second.callback) return;
  for (const Item& item : m->second.items) {
    if (!item.subMenu && item.id == id) {
      m->second.callback(id);
      return;
    }
  }
}
