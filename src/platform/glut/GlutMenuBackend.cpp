#include "platform/glut/GlutMenuBackend.h"

#include <GL/freeglut.h>

#include <string>
#include <utility>

namespace {

bool glutReady() {
  return glutGet(GLUT_INIT_STATE) != 0;
}

void onMenuStatus(int status, int, int) {
  glutMenuBackend().setMenuOpen(status == GLUT_MENU_IN_USE);
}

}  // namespace

GlutMenuBackend& glutMenuBackend() {
  static GlutMenuBackend backend;
  return backend;
}

int GlutMenuBackend::createMenu(MenuCallback callback) {
  if (!glutReady()) return 0;
  if (!statusWatched_) {
    glutMenuStatusFunc(onMenuStatus);
    statusWatched_ = true;
  }
  return glutCreateMenu(callback);
}

void GlutMenuBackend::apply(std::function<void()> change) {
  if (!glutReady()) return;
  if (menuOpen_) {
    pending_.push_back(std::move(change));
  } else {
    change();
  }
}

void GlutMenuBackend::flushPending() {
  if (menuOpen_ || pending_.empty() || !glutReady()) return;
  std::vector<std::function<void()>> changes;
  changes.swap(pending_);
  for (auto& change : changes) change();
}

void GlutMenuBackend::destroyMenu(int menu) {
  apply([menu] { glutDestroyMenu(menu); });
}

void GlutMenuBackend::addEntry(int menu, const char* label, int id) {
  apply([menu, text = std::string(label), id] {
    glutSetMenu(menu);
    glutAddMenuEntry(text.c_str(), id);
  });
}

void GlutMenuBackend::addSubMenu(int menu, const char* label, int subMenu) {
  apply([menu, text = std::string(label), subMenu] {
    glutSetMenu(menu);
    glutAddSubMenu(text.c_str(), subMenu);
  });
}

void GlutMenuBackend::changeEntry(int menu, int position, const char* label, int id) {
  apply([menu, position, text = std::string(label), id] {
    glutSetMenu(menu);
    glutChangeToMenuEntry(position, text.c_str(), id);
  });
}

void GlutMenuBackend::attachToRightButton(int menu) {
  apply([menu] {
    glutSetMenu(menu);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
  });
}
