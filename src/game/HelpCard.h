#pragma once

#include "world/Geometry.h"

// The card F1 and "h" show over the field: what the mouse and the keys do.
// Laid out in window units and drawn through the view, so it stands in the
// middle of the window, the same size, whatever the zoom and the view.
namespace help {

struct Line {
  const char* what;  // the action, in the left column; empty for a heading
  const char* does;
};

// The card's lines, top to bottom.
const Line* lines(int* count);

// Over the view whose centre is centre at zoom.
void drawCard(Vec2 centre, float zoom);

// "Right-click for the menu, F1 for help": the line of a first start.
extern const char* const kFirstStartHint;

}  // namespace help
