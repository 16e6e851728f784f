#include "platform/windows/WinMenuBackend.h"

#include <cstring>

#include "platform/windows/Utf16.h"

namespace {

// Menu item ids are the command ids moved up by one: TrackPopupMenu
// answers 0 for no pick, and command 0 is a real one.
constexpr int kIdOffset = 1;

bool isSeparator(const char* label, int id) {
  return id < 0 && std::strcmp(label, "---") == 0;
}

}  // namespace

WinMenuBackend::~WinMenuBackend() {
  for (auto& [id, menu] : menus_) DestroyMenu(menu.handle);
}

WinMenuBackend::Menu* WinMenuBackend::find(int menu) {
  const auto found = menus_.find(menu);
  return found == menus_.end() ? nullptr : &found->second;
}

int WinMenuBackend::createMenu(MenuCallback callback) {
  const HMENU handle = CreatePopupMenu();
  if (!handle) return 0;
  const int id = next_++;
  menus_[id] = Menu{handle, callback};
  return id;
}

void WinMenuBackend::destroyMenu(int menu) {
  Menu* m = find(menu);
  if (!m) return;
  // Sub-menus of a destroyed menu go with it; they stay listed here only
  // by id, never shown again.
  DestroyMenu(m->handle);
  menus_.erase(menu);
  if (attached_ == menu) attached_ = 0;
}

void WinMenuBackend::addEntry(int menu, const char* label, int id) {
  Menu* m = find(menu);
  if (!m) return;
  if (isSeparator(label, id)) {
    AppendMenuW(m->handle, MF_SEPARATOR, 0, nullptr);
    return;
  }
  AppendMenuW(m->handle, MF_STRING, static_cast<UINT_PTR>(id + kIdOffset), toUtf16(label).c_str());
}

void WinMenuBackend::addSubMenu(int menu, const char* label, int subMenu) {
  Menu* m = find(menu);
  Menu* sub = find(subMenu);
  if (!m || !sub) return;
  AppendMenuW(m->handle, MF_POPUP, reinterpret_cast<UINT_PTR>(sub->handle), toUtf16(label).c_str());
}

void WinMenuBackend::changeEntry(int menu, int position, const char* label, int id) {
  Menu* m = find(menu);
  if (!m || isSeparator(label, id)) return;
  ModifyMenuW(m->handle, static_cast<UINT>(position - 1), MF_BYPOSITION | MF_STRING,
              static_cast<UINT_PTR>(id + kIdOffset), toUtf16(label).c_str());
}

void WinMenuBackend::popUp(HWND window, int x, int y) {
  Menu* m = find(attached_);
  if (!m) return;
  // Foreground first, or the menu would not close when the player clicks
  // elsewhere.
  SetForegroundWindow(window);
  const int picked = static_cast<int>(
      TrackPopupMenu(m->handle, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y, 0, window, nullptr));
  // The callback of the menu the entry is in: all of the game's menus share one.
  if (picked != 0 && m->callback) m->callback(picked - kIdOffset);
}
