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
    default:
      return key;
  }
}
