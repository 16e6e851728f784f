#pragma once

// The size fontsAtScale(scale) draws text at, in pixels per unit: Windows
// has no rasterizer, so text takes the nearest size there are fonts for
// (see nearestTextSize), 1 where fontsAtScale gives none.
double textScaleAt(double scale);
