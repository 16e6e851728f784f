#include "doubles/DrawCommandList.h"

#include "draw/Shapes.h"

void DrawCommandList::add(Op op, int value, float a, float b, float c, float d, TextFont font) {
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
void DrawCommandList::bitmapCharacter(TextFont font, int character) {
  add(Op::Character, character, 0, 0, 0, 0, font);
}
int DrawCommandList::bitmapWidth(TextFont font, int character) {
  return widths_ ? widths_->bitmapWidth(font, character) : 0;
}
bool DrawCommandList::fillDisc(float cx, float cy, float radius, int segments) {
  add(Op::Disc, segments, cx, cy, radius);
  return true;
}

bool DrawCommandList::beginPicture(const PictureKey& key, const Rect& bounds) {
  add(Op::BeginPicture, static_cast<int>(pictures_.size()));
  pictures_.push_back({key, bounds});
  return true;
}
void DrawCommandList::endPicture() {
  add(Op::EndPicture, 0);
}

void DrawCommandList::replay(DrawBackend& out) const {
  float alpha = 1.0f;  // OpenGL's colour starts opaque white
  for (size_t i = 0; i < commands_.size(); ++i) {
    const Command& c = commands_[i];
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
      case Op::BeginPicture: {
        const Picture& p = pictures_[static_cast<size_t>(c.value)];
        if (out.beginPicture(p.key, p.bounds)) break;
        // Shown from what the backend kept: on past the picture's end.
        for (int depth = 1; depth > 0 && i + 1 < commands_.size();) {
          const Op op = commands_[++i].op;
          depth += op == Op::BeginPicture ? 1 : op == Op::EndPicture ? -1 : 0;
        }
        break;
      }
      case Op::EndPicture:
        out.endPicture();
        break;
    }
  }
}
