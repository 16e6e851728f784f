#pragma once

#include <optional>
#include <string>
#include <vector>

#include "draw/DrawBackend.h"
#include "draw/Pen.h"
#include "world/Geometry.h"

// A backend that draws nothing and remembers everything a frame emitted, so
// tests can check pictures without a window. It needs no GLUT or GL context.
//
//   ScopedDrawRecording rec;          // installed, pen fresh, until scope end
//   game.onDraw();
//   auto discs = rec.shapesOf(Primitive::Polygon);
//   EXPECT_TRUE(rec.drewText("Population: 12"));

struct Rgba {
  float r = 1.0f;
  float g = 1.0f;
  float b = 1.0f;
  float a = 1.0f;
};

inline bool operator==(const Rgba& x, const Rgba& y) {
  return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a;
}

// One vertex with the state in force when it was emitted.
struct RecordedVertex {
  float x = 0.0f;
  float y = 0.0f;
  Rgba color;
  float lineWidth = 1.0f;
  float pointSize = 1.0f;
};

// One begin ... end block.
struct RecordedShape {
  Primitive primitive = Primitive::Points;
  std::vector<RecordedVertex> vertices;
  Vec2 point(size_t i) const { return {vertices.at(i).x, vertices.at(i).y}; }
};

// The characters drawn after one raster position, all in one font. The
// colour is the one in force at the raster position (GL latches it there).
struct RecordedText {
  float x = 0.0f;
  float y = 0.0f;
  std::optional<TextFont> font;  // none until a character is drawn
  Rgba color;
  std::string text;
};

enum class StateKind { Color, LineWidth, PointSize };

struct StateCall {
  StateKind kind = StateKind::Color;
  Rgba color;          // for Color
  float value = 0.0f;  // for LineWidth and PointSize
};

class RecordingDrawBackend : public DrawBackend {
 public:
  // The current state starts as GL's: opaque white, width 1, point size 1.
  void begin(Primitive primitive) override;
  void end() override;
  void vertex(float x, float y) override;
  void color(float r, float g, float b, float a) override;
  void lineWidth(float width) override;
  void pointSize(float size) override;
  void rasterPos(float x, float y) override;
  void bitmapCharacter(TextFont font, int character) override;
  int bitmapWidth(TextFont font, int character) override;

  // Every character of a font is as wide as a digit of the real font:
  // Helvetica 10 is 6 pixels, Helvetica 12 is 7, Times Roman 24 is 12, any
  // other font 8.
  static int characterWidth(TextFont font);

  // Records in call order since construction or the last clear().
  const std::vector<RecordedShape>& shapes() const { return shapes_; }
  const std::vector<RecordedText>& textRuns() const { return texts_; }
  const std::vector<StateCall>& stateCalls() const { return stateCalls_; }

  std::vector<const RecordedShape*> shapesOf(Primitive primitive) const;
  // Shapes whose first vertex has this colour (within 1e-4 per component).
  std::vector<const RecordedShape*> shapesWithColor(const Color3& color) const;
  // The drawn strings, one per raster position.
  std::vector<std::string> texts() const;
  bool drewText(const std::string& text) const;

  // Calls GL would reject or that lose drawing: begin inside a shape, end or
  // vertex outside one, width, point size or raster position inside one.
  int misuseCount() const { return misuses_; }

  const Rgba& currentColor() const { return color_; }
  float currentLineWidth() const { return lineWidth_; }
  float currentPointSize() const { return pointSize_; }

  // Forgets the records; the current state stays, as GL's does between frames.
  void clear();

 private:
  void noteStateInsideShape();

  std::vector<RecordedShape> shapes_;
  std::vector<RecordedText> texts_;
  std::vector<StateCall> stateCalls_;
  bool insideShape_ = false;
  bool textOpen_ = false;
  int misuses_ = 0;
  Rgba color_;
  float lineWidth_ = 1.0f;
  float pointSize_ = 1.0f;
  float rasterX_ = 0.0f;
  float rasterY_ = 0.0f;
};

// Installs a fresh recorder with a fresh pen for the life of the scope, then
// puts the previous pen and backend back.
class ScopedDrawRecording : public RecordingDrawBackend {
 public:
  ScopedDrawRecording();
  ~ScopedDrawRecording() override;
  ScopedDrawRecording(const ScopedDrawRecording&) = delete;
  ScopedDrawRecording& operator=(const ScopedDrawRecording&) = delete;

 private:
  DrawBackend* previousBackend_;
  Pen previousPen_;
};
