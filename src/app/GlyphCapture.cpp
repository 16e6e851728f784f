#include "app/GlyphCapture.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

#include <algorithm>
#include <vector>

namespace {

// A grid of cells, one character in each, drawn and read back in as few
// passes as the window allows.
struct CellGrid {
  int cellWidth = 0;
  int cellHeight = 0;
  int pad = 0;  // from a cell's corner to its raster position
  int columns = 0;
  int rows = 0;
  int perPass() const { return columns * rows; }
};

BitmapGlyph readGlyph(const std::vector<unsigned char>& pixels, int viewWidth, int cellX, int cellY,
                      const CellGrid& grid) {
  int minX = grid.cellWidth, minY = grid.cellHeight, maxX = -1, maxY = -1;
  const auto lit = [&](int x, int y) {
    return pixels[static_cast<size_t>(cellY + y) * viewWidth + cellX + x] > 127;
  };
  for (int y = 0; y < grid.cellHeight; ++y) {
    for (int x = 0; x < grid.cellWidth; ++x) {
      if (!lit(x, y)) continue;
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
    }
  }
  BitmapGlyph glyph;
  if (maxX < 0) return glyph;
  glyph.left = minX - grid.pad;
  glyph.bottom = minY - grid.pad;
  glyph.width = maxX - minX + 1;
  glyph.height = maxY - minY + 1;
  glyph.lit.resize(static_cast<size_t>(glyph.width) * glyph.height);
  for (int y = 0; y < glyph.height; ++y) {
    for (int x = 0; x < glyph.width; ++x) {
      glyph.lit[static_cast<size_t>(y) * glyph.width + x] = lit(minX + x, minY + y) ? 1 : 0;
    }
  }
  return glyph;
}

bool captureFont(FontHandle handle, int viewWidth, int viewHeight, BitmapFont& font) {
  font.handle = handle;
  int widest = 0;
  for (int c = 0; c < 256; ++c) {
    font.glyphs[c].advance = glutBitmapWidth(handle, c);
    widest = std::max(widest, font.glyphs[c].advance);
  }
  CellGrid grid;
  // A glyph's bitmap starts within a line height of the raster position.
  grid.pad = std::max(glutBitmapHeight(handle), 1);
  grid.cellWidth = widest + 2 * grid.pad;
  grid.cellHeight = 3 * grid.pad;
  grid.columns = viewWidth / grid.cellWidth;
  grid.rows = viewHeight / grid.cellHeight;
  if (grid.perPass() == 0) return false;

  std::vector<unsigned char> pixels(static_cast<size_t>(viewWidth) * viewHeight);
  for (int first = 0; first < 256; first += grid.perPass()) {
    const int last = std::min(256, first + grid.perPass());
    glClear(GL_COLOR_BUFFER_BIT);
    for (int c = first; c < last; ++c) {
      const int k = c - first;
      glRasterPos2i((k % grid.columns) * grid.cellWidth + grid.pad,
                    (k / grid.columns) * grid.cellHeight + grid.pad);
      glutBitmapCharacter(handle, c);
    }
    glReadPixels(0, 0, viewWidth, viewHeight, GL_RED, GL_UNSIGNED_BYTE, pixels.data());
    for (int c = first; c < last; ++c) {
      const int k = c - first;
      const int advance = font.glyphs[c].advance;
      font.glyphs[c] = readGlyph(pixels, viewWidth, (k % grid.columns) * grid.cellWidth,
                                 (k / grid.columns) * grid.cellHeight, grid);
      font.glyphs[c].advance = advance;
    }
  }
  return glGetError() == GL_NO_ERROR;
}

}  // namespace

BitmapFontSet captureGlutFonts() {
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  const int width = viewport[2];
  const int height = viewport[3];

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_BLEND);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glColor3f(1.0f, 1.0f, 1.0f);
  glDrawBuffer(GL_BACK);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);

  BitmapFontSet fonts;
  bool ok = true;
  for (FontHandle handle : {GLUT_BITMAP_HELVETICA_10, GLUT_BITMAP_HELVETICA_12, GLUT_BITMAP_TIMES_ROMAN_24}) {
    fonts.emplace_back();
    ok = ok && captureFont(handle, width, height, fonts.back());
  }
  // A capital letter with no pixels means nothing was drawn or read.
  for (const BitmapFont& font : fonts) ok = ok && !font.glyphs['H'].lit.empty();

  glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
  glEnable(GL_BLEND);
  return ok ? fonts : BitmapFontSet{};
}
