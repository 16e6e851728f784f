#include "game/HelpCard.h"

#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/Text.h"

namespace help {

const char* const kFirstStartHint = "Right-click for the menu, F1 for help";

namespace {

const Line kLines[] = {
    {"", "Mouse"},
    {"Click a palette item", "buy it: it settles where there is room"},
    {"Drag a building or tree", "move it"},
    {"Ctrl- or Alt-drag", "copy it"},
    {"Drag door to door", "lay a road between the road ends"},
    {"Drag over peeps", "sweep them up; then click to order them there"},
    {"Shift", "the repel tool while held"},
    {"Right button", "the menu: speed, roads, saving and loading"},
    {"Wheel", "zoom in and out"},
    {"Middle drag, arrows", "move the view while zoomed in"},
    {"", "Keys"},
    {"p", "pause and go on"},
    {"f", "fast: three times the speed"},
    {"a", "a creep attack"},
    {"Home", "the view back to the middle"},
    {"F1, h", "this card"},
    {"F11", "fullscreen"},
    {"", "Any key or click closes this card."},
};

constexpr float kWidth = 470.0f;
constexpr float kLineHeight = 17.0f;
constexpr float kMargin = 18.0f;
constexpr float kSecondColumn = 170.0f;

}  // namespace

const Line* lines(int* count) {
  *count = static_cast<int>(sizeof kLines / sizeof kLines[0]);
  return kLines;
}

void drawCard(Vec2 centre, float zoom) {
  int count = 0;
  const Line* all = lines(&count);
  const float height = 2.0f * kMargin + kLineHeight * static_cast<float>(count);
  // Window units about the window's centre to world points.
  auto at = [centre, zoom](float x, float y) { return Vec2{centre.x + x / zoom, centre.y + y / zoom}; };
  const Vec2 a = at(-kWidth * 0.5f, -height * 0.5f);
  const Vec2 b = at(kWidth * 0.5f, height * 0.5f);
  setAlpha(0.94f);
  setColor(kWhite);
  fillRect(Rect{a.x, b.x, a.y, b.y});
  setAlpha(1.0f);
  setColor(mix(kBlue, kWhite, 0.5f));
  outlineRect(Rect{a.x, b.x, a.y, b.y});

  selectFont(1);
  for (int i = 0; i < count; ++i) {
    const float y = -height * 0.5f + kMargin + kLineHeight * static_cast<float>(i + 1) - 4.0f;
    const Line& line = all[i];
    if (line.what[0] == '\0') {
      setColor(kBlue);
      const Vec2 p = at(-kWidth * 0.5f + kMargin, y);
      drawText(p.x, p.y, "%s", line.does);
      continue;
    }
    setColor(kBlack);
    Vec2 p = at(-kWidth * 0.5f + kMargin + 8.0f, y);
    drawText(p.x, p.y, "%s", line.what);
    p = at(-kWidth * 0.5f + kMargin + kSecondColumn, y);
    drawText(p.x, p.y, "%s", line.does);
  }
}

}  // namespace help
