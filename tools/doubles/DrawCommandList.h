#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/DrawBackend.h"

// Records drawing calls in order and plays them back into any backend: one
// frame drawn by two renderers for comparison. Discs are recorded as discs; a backend that declines one
// on playback gets the shapes of emitDisc instead. Still pictures are
// recorded with what they draw; a backend that shows a kept one on playback
// skips the rest of it.
//
//   DrawCommandList frame(&software);  // answers text widths while recording
//   setDrawBackend(&frame);
//   game.onDraw();
//   frame.replay(gl);
class DrawCommandList : public DrawBackend {
 public:
  // widths answers bitmapWidth while recording (not owned); without one
  // every character is 0 wide.
  explicit DrawCommandList(DrawBackend* widths = nullptr) : widths_(widths) {}

  void begin(Primitive primitive) override;
  void end() override;
  void vertex(float x, float y) override;
  void color(float r, float g, float b, float a) override;
  void lineWidth(float width) override;
  void pointSize(float size) override;
  void rasterPos(float x, float y) override;
  void bitmapCharacter(TextFont font, int character) override;
  int bitmapWidth(TextFont font, int character) override;
  bool fillDisc(float cx, float cy, float radius, int segments) override;
  bool beginPicture(const PictureKey& key, const Rect& bounds) override;
  void endPicture() override;
  float shadowLightStep() const override { return lightStep_; }
  // The light step to record shadows with, as the backend played back to
  // would round them (0: cast from the light itself).
  void setShadowLightStep(float step) { lightStep_ = step; }

  void replay(DrawBackend& out) const;
  size_t size() const { return commands_.size(); }
  void clear() {
    commands_.clear();
    pictures_.clear();
  }

 private:
  enum class Op : uint8_t {
    Begin,
    End,
    Vertex,
    Color,
    LineWidth,
    PointSize,
    RasterPos,
    Character,
    Disc,
    BeginPicture,
    EndPicture
  };
  struct Command {
    Op op;
    int value;  // primitive, character or segments
    TextFont font = TextFont::Helvetica12;
    float v[4];
  };
  void add(Op op, int value, float a = 0, float b = 0, float c = 0, float d = 0,
           TextFont font = TextFont::Helvetica12);

  struct Picture {
    PictureKey key;
    Rect bounds;
  };

  DrawBackend* widths_;
  float lightStep_ = 0.0f;
  std::vector<Command> commands_;
  std::vector<Picture> pictures_;  // by the value of their BeginPicture
};
