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
  void bitmapCharacter(TextFont font, int character) override;
  int bitmapWidth(TextFont font, int character) override;
};

// GLUT's handle of one of the game's fonts (freeglut names its fonts by address).
void* glutFont(TextFont font);
