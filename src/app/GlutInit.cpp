#include "app/GlutInit.h"

#include <GL/freeglut.h>

void ensureGlutInitialized() {
  if (glutGet(GLUT_INIT_STATE)) return;
  static char name[] = "ApplicationGLUT";
  char* argv[] = {name, nullptr};
  int argc = 1;
  glutInit(&argc, argv);
}
