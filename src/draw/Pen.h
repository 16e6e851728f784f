#pragma once

#include "draw/DrawBackend.h"
#include "world/Geometry.h"

// The drawing pen: current colour, alpha, line width and text font, shared
// by every drawing routine. The backend's current colour is always the
// pen's (color, alpha), and its line width and point size are its width.
struct Pen {
  Color3 color{0.0f, 0.0f, 0.0f};
  float alpha = 1.0f;
  float width = 1.0f;
  TextFont font = TextFont::Helvetica12;  // until selectFont says otherwise
};

const Pen& pen();
// Puts the pen back to its start values and applies them to the backend
// (tests; the game never resets it).
void resetPen();

void setColor(float r, float g, float b);
void setColor(const Color3& c);
void setAlpha(float a);
void reapplyColor();
void setLineWidth(float w);
// The font drawText and textWidth use (selectFont picks it by size code).
void setFont(TextFont font);
// Puts the pen back to a state it had, applying what differs.
void restorePen(const Pen& p);
