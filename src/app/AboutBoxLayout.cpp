#include "app/AboutBoxLayout.h"

#include <cmath>

#include "app/AboutText.h"
#include "draw/BuiltInFonts.h"
#include "draw/Pen.h"
#include "draw/ScaledFonts.h"
#include "draw/Shapes.h"
#include "draw/Text.h"

namespace {

constexpr TextFont kFont = TextFont::Helvetica12;
constexpr int kBoxWidth = 480;
constexpr int kMargin = 16;
constexpr int kLineHeight = 15;
// Enough for a licence notice; longer texts are cut so the button stays on screen.
constexpr std::size_t kMaxLines = 30;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;

// The font the box's text is drawn with at this scale, and its pixels a unit.
const BitmapFont* boxFont(double scale, double& pixelsPerUnit) {
  const BitmapFontSet& scaled = fontsAtScale(scale);
  pixelsPerUnit = scaled.empty() ? 1.0 : scale;
  for (const BitmapFont& font : scaled.empty() ? builtInFonts() : scaled) {
    if (font.font == kFont) return &font;
  }
  return nullptr;
}

}  // namespace

AboutBoxLayout::AboutBoxLayout(const std::string& text, double scale) : scale_(scale), width_(kBoxWidth) {
  double pixelsPerUnit = 1.0;
  const BitmapFont* font = boxFont(scale, pixelsPerUnit);
  const int width = static_cast<int>(std::lround((kBoxWidth - 2 * kMargin) * pixelsPerUnit));
  lines_ = font ? about::wrap(text, width, [font](unsigned char c) { return font->glyphs[c].advance; })
                : about::wrap(text, (kBoxWidth - 2 * kMargin) / 7);
  about::cut(lines_, kMaxLines);
  height_ = kMargin + static_cast<int>(lines_.size()) * kLineHeight + kMargin + kButtonHeight + kMargin;
  buttonX_ = (width_ - kButtonWidth) / 2;
  buttonY_ = height_ - kMargin - kButtonHeight;
}

bool AboutBoxLayout::onButton(int px, int py) const {
  const double x = px / scale_;
  const double y = py / scale_;
  return x >= buttonX_ && x < buttonX_ + kButtonWidth && y >= buttonY_ && y < buttonY_ + kButtonHeight;
}

void AboutBoxLayout::draw() const {
  setFont(kFont);
  setColor(0.0f, 0.0f, 0.0f);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    drawText(kMargin, kMargin + static_cast<float>(i + 1) * kLineHeight - 3.0f, "%s", lines_[i].c_str());
  }
  const float bx = static_cast<float>(buttonX_);
  const float by = static_cast<float>(buttonY_);
  const float shade = pressedOnButton_ ? 0.75f : 0.86f;
  setColor(shade, shade, 0.86f);
  fillRect(Rect{bx, bx + kButtonWidth, by, by + kButtonHeight});
  setColor(0.35f, 0.35f, 0.35f);
  beginLineLoop();
  vertex(bx + 0.5f, by + 0.5f);
  vertex(bx + kButtonWidth - 0.5f, by + 0.5f);
  vertex(bx + kButtonWidth - 0.5f, by + kButtonHeight - 0.5f);
  vertex(bx + 0.5f, by + kButtonHeight - 0.5f);
  endShape();
  setColor(0.0f, 0.0f, 0.0f);
  drawText(bx + (kButtonWidth - textWidth("OK")) / 2.0f, by + kButtonHeight / 2.0f + 4.0f, "%s", "OK");
}

void AboutBoxLayout::mouseDown(int x, int y) {
  pressedOnButton_ = onButton(x, y);
}

void AboutBoxLayout::mouseUp(int x, int y) {
  if (pressedOnButton_ && onButton(x, y)) dismissed_ = true;
  pressedOnButton_ = false;
}

void AboutBoxLayout::key(int code) {
  if (code == 13 || code == 27) dismissed_ = true;
}
