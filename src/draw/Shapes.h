#pragma once

#include "world/Geometry.h"

class DrawBackend;

// Immediate-mode shapes in world units, drawn with the pen.

void drawLine(float x0, float y0, float x1, float y1);
void fillRect(const Rect& r);
// A band between r and r inset by w on every side.
void strokeRect(const Rect& r, float w);
void outlineRect(const Rect& r);
void fillCircle(float cx, float cy, float radius);
// The shapes of a filled disc for a backend that does not draw discs itself:
// a polygon of the circle's vertices and, for a smooth edge, the same
// vertices as a line loop on top.
void emitDisc(DrawBackend& out, float cx, float cy, float radius, int segments, bool smoothEdge);
void outlineCircle(float cx, float cy, float radius);
void drawArc(float cx, float cy, float radius, float startAngle, float sweep);
// Vertex count for a circle: about one vertex per 6 units of circumference,
// from 4 up to 128.
int circleSegments(float radius);

// Raw vertex lists: begin, emit vertices, then endShape().
void beginPolygon();
void beginLineLoop();
void beginLineStrip();
void endShape();
void vertex(float x, float y);
void vertices(const Vec2* points, int count);
