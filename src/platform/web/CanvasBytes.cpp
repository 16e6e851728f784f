#include "platform/web/CanvasBytes.h"

void convertToCanvasBytes(const ImageView& frame, uint32_t* out) {
  for (int y = 0; y < frame.height; ++y) {
    const uint32_t* row = frame.row(y);
    for (int x = 0; x < frame.width; ++x) {
      const uint32_t p = row[x];
      // Little-endian words: R is the lowest byte, A the highest.
      *out++ = 0xFF000000u | (p & 0xFFu) << 16 | (p & 0xFF00u) | (p >> 16 & 0xFFu);
    }
  }
}
