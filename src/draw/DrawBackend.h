#pragma once

// The one seam through which every immediate-mode drawing call passes: the
// game draws through OpenGL or the software rasterizer, tests through a
// backend that records the calls.

enum class Primitive { Points, Lines, LineLoop, LineStrip, TriangleStrip, Quads, Polygon };

// A GLUT bitmap font handle (freeglut identifies its fonts by address).
using FontHandle = void*;

class DrawBackend {
 public:
  virtual ~DrawBackend() = default;
  virtual void begin(Primitive primitive) = 0;
  virtual void end() = 0;
  virtual void vertex(float x, float y) = 0;
  virtual void color(float r, float g, float b, float a) = 0;
  virtual void lineWidth(float width) = 0;
  virtual void pointSize(float size) = 0;
  virtual void rasterPos(float x, float y) = 0;
  virtual void bitmapCharacter(FontHandle font, int character) = 0;
  virtual int bitmapWidth(FontHandle font, int character) = 0;
  // A filled disc with a smoothed edge, in the current colour; the edge is
  // as wide as the current line width when the colour is opaque. Answers
  // false when the backend leaves the disc to the shapes of emitDisc.
  virtual bool fillDisc(float cx, float cy, float radius, int segments) {
    (void)cx, (void)cy, (void)radius, (void)segments;
    return false;
  }
};

// The backend in use: the OpenGL one unless a test installed another.
DrawBackend& drawBackend();
// Installs a backend (not owned); nullptr restores the OpenGL one.
void setDrawBackend(DrawBackend* backend);
