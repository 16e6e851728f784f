#include "draw/gl/GlDrawBackend.h"

#include <GL/freeglut_std.h>
#include <GL/gl.h>

namespace {

GLenum glMode(Primitive primitive) {
  switch (primitive) {
    case Primitive::Points:
      return GL_POINTS;
    case Primitive::Lines:
      return GL_LINES;
    case Primitive::LineLoop:
      return GL_LINE_LOOP;
    case Primitive::LineStrip:
      return GL_LINE_STRIP;
    case Primitive::TriangleStrip:
      return GL_TRIANGLE_STRIP;
    case Primitive::Quads:
      return GL_QUADS;
    case Primitive::Polygon:
      return GL_POLYGON;
  }
  return GL_POINTS;
}

}  // namespace

void GlDrawBackend::begin(Primitive primitive) {
  glBegin(glMode(primitive));
}
void GlDrawBackend::end() {
  glEnd();
}
void GlDrawBackend::vertex(float x, float y) {
  glVertex2f(x, y);
}
void GlDrawBackend::color(float r, float g, float b, float a) {
  glColor4f(r, g, b, a);
}
void GlDrawBackend::lineWidth(float width) {
  glLineWidth(width);
}
void GlDrawBackend::pointSize(float size) {
  glPointSize(size);
}
void GlDrawBackend::rasterPos(float x, float y) {
  glRasterPos2f(x, y);
}
void GlDrawBackend::bitmapCharacter(TextFont font, int character) {
  glutBitmapCharacter(glutFont(font), character);
}
int GlDrawBackend::bitmapWidth(TextFont font, int character) {
  return glutBitmapWidth(glutFont(font), character);
}

void* glutFont(TextFont font) {
  switch (font) {
    case TextFont::Helvetica10:
      return GLUT_BITMAP_HELVETICA_10;
    case TextFont::TimesRoman24:
      return GLUT_BITMAP_TIMES_ROMAN_24;
    case TextFont::Helvetica12:
      break;
  }
  return GLUT_BITMAP_HELVETICA_12;
}
