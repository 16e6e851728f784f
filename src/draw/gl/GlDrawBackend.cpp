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

GlDrawBackend::GlDrawBackend(float scale, const BitmapFontSet& fonts) : scale_(scale) {
  for (const BitmapFont& font : fonts) {
    PackedFont packed;
    packed.font = font.font;
    for (const BitmapGlyph& g : font.glyphs) {
      PackedGlyph p;
      p.advance = g.advance;
      p.left = g.left;
      p.bottom = g.bottom;
      p.width = g.width;
      p.height = g.height;
      const int rowBytes = (g.width + 7) / 8;
      p.bits.assign(static_cast<size_t>(rowBytes) * g.height, 0);
      for (int row = 0; row < g.height; ++row) {
        for (int column = 0; column < g.width; ++column) {
          if (g.isLit(column, row))
            p.bits[static_cast<size_t>(row) * rowBytes + column / 8] |= 0x80 >> (column % 8);
        }
      }
      packed.glyphs.push_back(std::move(p));
    }
    fonts_.push_back(std::move(packed));
  }
}

const GlDrawBackend::PackedGlyph* GlDrawBackend::glyph(TextFont font, int character) const {
  for (const PackedFont& f : fonts_) {
    if (f.font == font && character >= 0 && static_cast<size_t>(character) < f.glyphs.size()) {
      return &f.glyphs[static_cast<size_t>(character)];
    }
  }
  return nullptr;
}

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
  glLineWidth(width * scale_);
}
void GlDrawBackend::pointSize(float size) {
  glPointSize(size * scale_);
}
void GlDrawBackend::rasterPos(float x, float y) {
  glRasterPos2f(x, y);
}
void GlDrawBackend::bitmapCharacter(TextFont font, int character) {
  if (fonts_.empty()) {
    glutBitmapCharacter(glutFont(font), character);
    return;
  }
  const PackedGlyph* g = glyph(font, character);
  if (!g) return;
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
  glBitmap(g->width, g->height, static_cast<float>(-g->left), static_cast<float>(-g->bottom),
           static_cast<float>(g->advance), 0.0f, g->bits.empty() ? nullptr : g->bits.data());
  glPopClientAttrib();
}
int GlDrawBackend::bitmapWidth(TextFont font, int character) {
  if (fonts_.empty()) return glutBitmapWidth(glutFont(font), character);
  const PackedGlyph* g = glyph(font, character);
  return g ? g->advance : 0;
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
