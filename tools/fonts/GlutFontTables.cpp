#include "fonts/GlutFontTables.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

void* glutFont(TextFont font) {
  switch (font) {
    case TextFont::Helvetica10:
      return GLUT_BITMAP_HELVETICA_10;
    case TextFont::TimesRoman24:
      return GLUT_BITMAP_TIMES_ROMAN_24;
    default:
      return GLUT_BITMAP_HELVETICA_12;
  }
}

// A font as freeglut keeps it: for each character its width in a first
// byte, then its rows, bottom first, a byte per eight columns, the leftmost
// column in the top bit, all drawn with the font's origin and height.
struct FreeglutFont {
  const char* name;
  int quantity;
  int height;
  const unsigned char** characters;
  float xorig;
  float yorig;
};

struct FontSymbol {
  TextFont font;
  const char* symbol;
};

const FontSymbol kFonts[] = {{TextFont::Helvetica10, "fgFontHelvetica10"},
                             {TextFont::Helvetica12, "fgFontHelvetica12"},
                             {TextFont::TimesRoman24, "fgFontTimesRoman24"}};

bool readFont(const FontSymbol& which, BitmapFont& font) {
  const auto* table = static_cast<const FreeglutFont*>(dlsym(RTLD_DEFAULT, which.symbol));
  // Whole-pixel origins, or a glyph's pixels would move with the raster
  // position's fraction.
  if (!table || table->quantity != 256 || !table->characters || table->xorig != std::floor(table->xorig) ||
      table->yorig != std::floor(table->yorig)) {
    return false;
  }
  font.font = which.font;
  // GLUT draws no character 0.
  for (int c = 1; c < 256; ++c) {
    const unsigned char* face = table->characters[c];
    if (!face) return false;
    BitmapGlyph& glyph = font.glyphs[static_cast<size_t>(c)];
    glyph.advance = face[0];
    glyph.width = face[0];
    glyph.height = table->height;
    glyph.left = -static_cast<int>(table->xorig);
    glyph.bottom = -static_cast<int>(table->yorig);
    const int rowBytes = (glyph.width + 7) / 8;
    glyph.lit.assign(static_cast<size_t>(glyph.width) * glyph.height, 0);
    for (int row = 0; row < glyph.height; ++row) {
      for (int column = 0; column < glyph.width; ++column) {
        const unsigned char bits = face[1 + row * rowBytes + column / 8];
        glyph.lit[static_cast<size_t>(row) * glyph.width + column] = (bits >> (7 - column % 8)) & 1;
      }
    }
  }
  return true;
}

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

bool captureFont(TextFont which, int viewWidth, int viewHeight, BitmapFont& font) {
  font.font = which;
  void* const handle = glutFont(which);
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

BitmapFontSet readGlutFonts() {
  BitmapFontSet fonts(std::size(kFonts));
  for (size_t i = 0; i < fonts.size(); ++i) {
    if (!readFont(kFonts[i], fonts[i])) return {};
  }
  return fonts;
}

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
  for (const FontSymbol& font : kFonts) {
    fonts.emplace_back();
    ok = ok && captureFont(font.font, width, height, fonts.back());
  }
  // A capital letter with no pixels means nothing was drawn or read.
  for (const BitmapFont& font : fonts) ok = ok && !font.glyphs['H'].lit.empty();

  glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
  glEnable(GL_BLEND);
  return ok ? fonts : BitmapFontSet{};
}
