#include "draw/Pen.h"

namespace {
Pen current;

void applyColor() {
  drawBackend().color(current.color.r, current.color.g, current.color.b, current.alpha);
}

void applyWidth() {
  drawBackend().lineWidth(current.width);
  drawBackend().pointSize(current.width);
}
}  // namespace

const Pen& pen() {
  return current;
}

void resetPen() {
  current = Pen{};
  applyColor();
  applyWidth();
}

void setColor(float r, float g, float b) {
  current.color = {r, g, b};
  applyColor();
}

void setColor(const Color3& c) {
  setColor(c.r, c.g, c.b);
}

void setAlpha(float a) {
  current.alpha = a;
  applyColor();
}

void reapplyColor() {
  applyColor();
}

void setLineWidth(float w) {
  current.width = w;
  applyWidth();
}

void setFont(TextFont font) {
  current.font = font;
}

void restorePen(const Pen& p) {
  const Color3& a = p.color;
  const Color3& b = current.color;
  if (a.r != b.r || a.g != b.g || a.b != b.b || p.alpha != current.alpha) {
    current.color = p.color;
    current.alpha = p.alpha;
    applyColor();
  }
  if (p.width != current.width) setLineWidth(p.width);
  current.font = p.font;
}
