#pragma once

#include <cstdint>

#include "world/Geometry.h"

// The one seam through which every immediate-mode drawing call passes: the
// game draws through OpenGL or the software rasterizer, tests through a
// backend that records the calls.

enum class Primitive { Points, Lines, LineLoop, LineStrip, TriangleStrip, Quads, Polygon };

// The bitmap fonts text is drawn in; each backend maps them to its own.
enum class TextFont : uint8_t { Helvetica10, Helvetica12, TimesRoman24 };

// How a still picture is kept: in colour, or, for a shadow drawn in one
// colour and alpha throughout, as coverage shown in whatever colour is
// current (so that the shadow follows the day's colour).
enum class PictureKind : uint8_t { Colour, Shadow };

// Which still picture: the object it belongs to (an id no other object
// has), its kind, and a digest of everything its drawing depends on. A
// shadow also names its object's state without the light point (its
// family), so that the shadow cast from the last point can stand in for it
// while the view zooms; 0 for none.
struct PictureKey {
  uint64_t owner = 0;
  PictureKind kind = PictureKind::Colour;
  uint64_t state = 0;
  uint64_t family = 0;
};

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
  virtual void bitmapCharacter(TextFont font, int character) = 0;
  virtual int bitmapWidth(TextFont font, int character) = 0;
  // Window pixels per unit of the text: bitmapWidth counts pixels of glyphs
  // drawn at this scale.
  virtual float textScale() const { return 1.0f; }
  // A filled disc with a smoothed edge, in the current colour; the edge is
  // as wide as the current line width when the colour is opaque. Answers
  // false when the backend leaves the disc to the shapes of emitDisc.
  virtual bool fillDisc(float cx, float cy, float radius, int segments) {
    (void)cx, (void)cy, (void)radius, (void)segments;
    return false;
  }

  // Still pictures (see StillPicture): an object draws a picture that stays
  // the same while its key does between beginPicture and endPicture. A
  // backend that keeps pictures shows the one it kept for the key instead
  // and answers false, and the object skips its drawing; otherwise it
  // answers true and the object draws. The picture must lie within bounds
  // (world units) and depend only on the key, the view and the colour, line
  // width and point size at its start.
  virtual bool beginPicture(const PictureKey& key, const Rect& bounds) {
    (void)key, (void)bounds;
    return true;
  }
  virtual void endPicture() {}
  // Shadows kept as pictures are cast from the light point rounded to this
  // many units, so that they are drawn anew only now and then as the light
  // moves; 0 when pictures are not kept.
  virtual float shadowLightStep() const { return 0.0f; }
};

// The backend in use. The program installs the one it draws with (each
// platform its renderer, tests and tools theirs); drawing with none
// installed ends the process.
DrawBackend& drawBackend();
// Installs a backend (not owned); nullptr uninstalls it.
void setDrawBackend(DrawBackend* backend);
// The backend installed, nullptr when none is: for saving and restoring.
DrawBackend* installedDrawBackend();
