#pragma once

#include <cstdint>

#include "draw/BitmapFont.h"
#include "draw/ImageView.h"

// Shapes painted straight into an image, without the accumulation of the
// coverage rasterizer: the ones frames are full of. Coordinates are image
// pixels (pixel (i, j) covers [i, i + 1] x [j, j + 1]); alpha is 0..256;
// anything outside the image is clipped.

// An axis-aligned rectangle [x0, x1] x [y0, y1] with exact coverage of its
// partly covered border pixels.
void paintRect(const ImageView& image, double x0, double y0, double x1, double y1, uint32_t rgb, int alpha);
// The same rectangle, painting only its pixels within clip.
void paintRect(const ImageView& image, double x0, double y0, double x1, double y1, uint32_t rgb, int alpha,
               const PixelBox& clip);

// A disc whose edge fades out over one pixel across the circle of radius r:
// each pixel is covered by r + 0.5 - (distance of its centre), capped to
// [0, 1], which is the covered area to within a few hundredths.
void paintDisc(const ImageView& image, double cx, double cy, double r, uint32_t rgb, int alpha);
// The same disc, painting only its pixels within clip.
void paintDisc(const ImageView& image, double cx, double cy, double r, uint32_t rgb, int alpha,
               const PixelBox& clip);

// A bitmap glyph's lit pixels in rgb at alpha, its first column at left and
// its lowest row at row lowest (its rows go upwards, as OpenGL's), within
// clip (inside the image).
void paintGlyph(const ImageView& image, const BitmapGlyph& glyph, int left, int lowest, uint32_t rgb,
                int alpha, const PixelBox& clip);
