#pragma once

// Bitmap text with the pen's font. Formatting is bounded: at most 255
// characters are drawn or measured.

// 2 selects Helvetica 10, 3 Times Roman 24, anything else Helvetica 12.
void selectFont(int sizeCode);
void drawText(float x, float y, const char* format, ...) __attribute__((format(printf, 3, 4)));
float textWidth(const char* format, ...) __attribute__((format(printf, 1, 2)));
