#include "doubles/RecordingDrawBackend.h"

#include <cmath>

void RecordingDrawBackend::begin(Primitive primitive) {
  if (insideShape_) ++misuses_;
  insideShape_ = true;
  shapes_.push_back({primitive, {}});
}

void RecordingDrawBackend::end() {
  if (!insideShape_) ++misuses_;
  insideShape_ = false;
}

void RecordingDrawBackend::vertex(float x, float y) {
  if (!insideShape_) {
    ++misuses_;
    return;
  }
  shapes_.back().vertices.push_back({x, y, color_, lineWidth_, pointSize_});
}

void RecordingDrawBackend::color(float r, float g, float b, float a) {
  color_ = {r, g, b, a};
  stateCalls_.push_back({StateKind::Color, color_, 0.0f});
}

void RecordingDrawBackend::lineWidth(float width) {
  noteStateInsideShape();
  lineWidth_ = width;
  stateCalls_.push_back({StateKind::LineWidth, {}, width});
}

void RecordingDrawBackend::pointSize(float size) {
  noteStateInsideShape();
  pointSize_ = size;
  stateCalls_.push_back({StateKind::PointSize, {}, size});
}

void RecordingDrawBackend::rasterPos(float x, float y) {
  noteStateInsideShape();
  rasterX_ = x;
  rasterY_ = y;
  texts_.push_back({x, y, std::nullopt, color_, {}});
  textOpen_ = true;
}

void RecordingDrawBackend::bitmapCharacter(TextFont font, int character) {
  noteStateInsideShape();
  // Characters without a raster position of their own, or in another font,
  // start a new run where the last one was placed.
  if (!textOpen_ || (texts_.back().font && *texts_.back().font != font)) {
    texts_.push_back({rasterX_, rasterY_, font, color_, {}});
    textOpen_ = true;
  }
  texts_.back().font = font;
  texts_.back().text += static_cast<char>(character);
}

int RecordingDrawBackend::bitmapWidth(TextFont font, int) {
  return characterWidth(font);
}

int RecordingDrawBackend::characterWidth(TextFont font) {
  if (font == TextFont::Helvetica10) return 6;
  if (font == TextFont::Helvetica12) return 7;
  return 12;  // Times Roman 24
}

std::vector<const RecordedShape*> RecordingDrawBackend::shapesOf(Primitive primitive) const {
  std::vector<const RecordedShape*> found;
  for (const RecordedShape& shape : shapes_) {
    if (shape.primitive == primitive) found.push_back(&shape);
  }
  return found;
}

std::vector<const RecordedShape*> RecordingDrawBackend::shapesWithColor(const Color3& color) const {
  constexpr float kTolerance = 1e-4f;
  std::vector<const RecordedShape*> found;
  for (const RecordedShape& shape : shapes_) {
    if (shape.vertices.empty()) continue;
    const Rgba& c = shape.vertices.front().color;
    if (std::fabs(c.r - color.r) <= kTolerance && std::fabs(c.g - color.g) <= kTolerance &&
        std::fabs(c.b - color.b) <= kTolerance) {
      found.push_back(&shape);
    }
  }
  return found;
}

std::vector<std::string> RecordingDrawBackend::texts() const {
  std::vector<std::string> strings;
  for (const RecordedText& run : texts_) strings.push_back(run.text);
  return strings;
}

bool RecordingDrawBackend::drewText(const std::string& text) const {
  for (const RecordedText& run : texts_) {
    if (run.text == text) return true;
  }
  return false;
}

void RecordingDrawBackend::clear() {
  // A shape still open goes on, empty, so its remaining vertices land in it.
  const bool open = insideShape_ && !shapes_.empty();
  const Primitive openPrimitive = open ? shapes_.back().primitive : Primitive::Points;
  shapes_.clear();
  if (open) shapes_.push_back({openPrimitive, {}});
  texts_.clear();
  stateCalls_.clear();
  textOpen_ = false;
  misuses_ = 0;
}

void RecordingDrawBackend::noteStateInsideShape() {
  if (insideShape_) ++misuses_;
}

ScopedDrawRecording::ScopedDrawRecording() : previousBackend_(installedDrawBackend()), previousPen_(pen()) {
  setDrawBackend(this);
  resetPen();
  clear();
}

ScopedDrawRecording::~ScopedDrawRecording() {
  // Restored through this recorder, so no GL call happens without a context.
  setColor(previousPen_.color);
  setAlpha(previousPen_.alpha);
  setLineWidth(previousPen_.width);
  setFont(previousPen_.font);
  setDrawBackend(previousBackend_);
}
