#include "draw/gl/GlViewProjection.h"

#include <GL/gl.h>

void loadViewProjection(float w, float h, float zoom, Vec2 translation) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, w, h, 0.0, -1.0, 1.0);
  glTranslatef(w * 0.5f, h * 0.5f, 0.0f);
  glScalef(zoom, zoom, 1.0f);
  glTranslatef(-w * 0.5f, -h * 0.5f, 0.0f);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(translation.x, translation.y, 0.0f);
  glTranslatef(-w * 0.5f, -h * 0.5f, 0.0f);
}
