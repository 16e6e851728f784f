#include "platform/glut/GlutInit.h"

#include <GL/freeglut.h>

#include <string>

#include "app/Release.h"

void ensureGlutInitialized() {
  if (glutGet(GLUT_INIT_STATE)) return;
  // freeglut starts its own messages with this name.
  static std::string name = release::kProgramName;
  char* argv[] = {name.data(), nullptr};
  int argc = 1;
  glutInit(&argc, argv);
}
