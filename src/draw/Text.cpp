#include "draw/Text.h"

#include <cstdarg>
#include <cstdio>

#include "draw/DrawBackend.h"
#include "draw/Pen.h"

namespace {

// Room for 255 characters and the terminator; longer text is cut, never
// written past the end.
struct TextBuffer {
  char chars[256];
};

TextBuffer format(const char* fmt, va_list args) {
  TextBuffer buffer;
  if (std::vsnprintf(buffer.chars, sizeof buffer.chars, fmt, args) < 0) buffer.chars[0] = '\0';
  return buffer;
}

// GLUT wants the character code 0..255; a plain char above 127 is negative.
int code(char c) {
  return static_cast<unsigned char>(c);
}

}  // namespace

void selectFont(int sizeCode) {
  switch (sizeCode) {
    case 2:
      setFont(TextFont::Helvetica10);
      break;
    case 3:
      setFont(TextFont::TimesRoman24);
      break;
    default:
      setFont(TextFont::Helvetica12);
      break;
  }
}

void drawText(float x, float y, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const TextBuffer text = format(fmt, args);
  va_end(args);

  DrawBackend& out = drawBackend();
  const TextFont font = pen().font;
  out.rasterPos(x, y);
  for (const char* c = text.chars; *c; ++c) out.bitmapCharacter(font, code(*c));
}

float textWidth(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const TextBuffer text = format(fmt, args);
  va_end(args);

  DrawBackend& out = drawBackend();
  const TextFont font = pen().font;
  int width = 0;
  for (const char* c = text.chars; *c; ++c) width += out.bitmapWidth(font, code(*c));
  return static_cast<float>(width) / out.textScale();
}
