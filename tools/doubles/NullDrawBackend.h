#pragma once

#include "draw/DrawBackend.h"

// Draws nothing: for headless runs that only care about the simulation. It
// keeps every still picture as a renderer with a warm cache does (nothing is
// a picture of nothing), so objects skip drawing them, as in the game.
class NullDrawBackend : public DrawBackend {
 public:
  void begin(Primitive) override {}
  void end() override {}
  void vertex(float, float) override {}
  void color(float, float, float, float) override {}
  void lineWidth(float) override {}
  void pointSize(float) override {}
  void rasterPos(float, float) override {}
  void bitmapCharacter(TextFont, int) override {}
  int bitmapWidth(TextFont, int) override { return 6; }
  bool beginPicture(const PictureKey&, const Rect&) override { return false; }
};
