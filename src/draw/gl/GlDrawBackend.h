#pragma once

#include "draw/DrawBackend.h"

// Straight pass-through to OpenGL 1.x immediate mode and GLUT bitmap fonts.
class GlDrawBackend : public DrawBackend {
 public:
  void begin(Primitive primitive) override;
  void end() override;
  void vertex(float x, float y) override;
  void color(float r, float g, float b, float a) override;
  void lineWidth(float width) override;
  void pointSize(float size) override;
  void rasterPos(float x, float y) override;
  void bitmapCharacter(FontHandle font, int character) override;
  int bitmapWidth(FontHandle font, int character) override;
};
