#include "draw/DrawCommandList.h"

#include "draw/Shapes.h"

void DrawCommandList::add(Op op, int value, float a, float b, float c, float d, FontHandle font) {
  commands_.push_back(Command{op, value, font, {a, b, c, d}});
}

void DrawCommandList::begin(Primitive primitive) {
  add(Op::Begin, static_cast<int>(primitive));
}
void DrawCommandList::end() {
  add(Op::End, 0);
}
void DrawCommandList::vertex(float x, float y) {
  add(Op::Vertex, 0, x, y);
}
void DrawCommandList::color(float r, float g, float b, float a) {
  add(Op::Color, 0, r, g, b, a);
}
void DrawCommandList::lineWidth(float width) {
  add(Op::LineWidth, 0, width);
}
void DrawCommandList::pointSize(float size) {
  add(Op::PointSize, 0, size);
}
void DrawCommandList::rasterPos(float x, float y) {
  add(Op::RasterPos, 0, x, y);
}
void DrawCommandList::bitmapCharacter(FontHandle font, int character) {
  add(Op::Character, character, 0, 0, 0, 0, font);
}
int DrawCommandList::bitmapWidth(FontHandle font, int character) {
  return widths_ ? widths_->bitmapWidth(font, character) : 0;
}
bool DrawCommandList::fillDisc(float cx, float cy, float radius, int segments) {
  add(Op::Disc, segments, cx, cy, radius);
  return true;
}

void DrawCommandList::replay(DrawBackend& out) const {
  float alpha = 1.0f;  // OpenGL's colour starts opaque white
  for (const Command& c : commands_) {
    switch (c.op) {
      case Op::Begin:
        out.begin(static_cast<Primitive>(c.value));
        break;
      case Op::End:
        out.end();
        break;
      case Op::Vertex:
        out.vertex(c.v[0], c.v[1]);
        break;
      case Op::Color:
        out.color(c.v[0], c.v[1], c.v[2], c.v[3]);
        alpha = c.v[3];
        break;
      case Op::LineWidth:
        out.lineWidth(c.v[0]);
        break;
      case Op::PointSize:
        out.pointSize(c.v[0]);
        break;
      case Op::RasterPos:
        out.rasterPos(c.v[0], c.v[1]);
        break;
      case Op::Character:
        out.bitmapCharacter(c.font, c.value);
        break;
      case Op::Disc:
        if (!out.fillDisc(c.v[0], c.v[1], c.v[2], c.value))
          emitDisc(out, c.v[0], c.v[1], c.v[2], c.value, alpha == 1.0f);
        break;
    }
  }
}
