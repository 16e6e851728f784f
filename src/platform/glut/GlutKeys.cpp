#include "platform/glut/GlutKeys.h"

#include <GL/freeglut.h>

#include "app/InputMapping.h"

int mapSpecialKey(int key) {
  switch (key) {
    case GLUT_KEY_LEFT:
      return kKeyLeft;
    case GLUT_KEY_UP:
      return kKeyUp;
    case GLUT_KEY_RIGHT:
      return kKeyRight;
    case GLUT_KEY_DOWN:
      return kKeyDown;
    case GLUT_KEY_HOME:
      return kKeyHome;
    case GLUT_KEY_F1:
      return kKeyF1;
    default:
      return key;
  }
}
