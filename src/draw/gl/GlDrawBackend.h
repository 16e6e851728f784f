#pragma once

#include <vector>

#include "draw/BitmapFont.h"
#include "draw/DrawBackend.h"

// Straight pass-through to OpenGL 1.x immediate mode and GLUT bitmap fonts;
// or, on a window drawn at another scale, line widths and point sizes
// scaled to it and text from the fonts rasterized at it.
class GlDrawBackend : public DrawBackend {
 public:
  GlDrawBackend() = default;
  // At scale window pixels per unit, with the fonts at that scale (empty:
  // GLUT's at their usual size).
  GlDrawBackend(float scale, const BitmapFontSet& fonts);

  void begin(Primitive primitive) override;
  void end() override;
  void vertex(float x, float y) override;
  void color(float r, float g, float b, float a) override;
  void lineWidth(float width) override;
  void pointSize(float size) override;
  void rasterPos(float x, float y) override;
  void bitmapCharacter(TextFont font, int character) override;
  int bitmapWidth(TextFont font, int character) override;
  float textScale() const override { return fonts_.empty() ? 1.0f : scale_; }

 private:
  // A glyph as glBitmap takes it: rows bottom first, a byte per eight
  // columns, leftmost column in the top bit.
  struct PackedGlyph {
    int advance = 0;
    int left = 0;
    int bottom = 0;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> bits;
  };
  struct PackedFont {
    TextFont font = TextFont::Helvetica12;
    std::vector<PackedGlyph> glyphs;  // by character code
  };
  const PackedGlyph* glyph(TextFont font, int character) const;

  float scale_ = 1.0f;
  std::vector<PackedFont> fonts_;
};

// GLUT's handle of one of the game's fonts (freeglut names its fonts by address).
void* glutFont(TextFont font);
