// Random streams of drawing calls into the software renderer: whatever the
// calls, coordinates, sizes, colours and view (NaN, infinity and 3e38
// included), nothing is written outside the image, the image keeps its
// pixel format, and every call returns. The stream is drawn as several
// frames on one image, each a part of it from its start (so that from one
// frame to the next only a few tiles change), some under another zoom or
// at another size; painting in tiles on several threads, and leaving the
// tiles whose calls are the last frame's as they are, changes no pixel of
// any of them against painting each frame whole. Still pictures are drawn
// too, kept, shown again, resampled and nested, their layers painted with
// the tiles.
//
// The first bytes choose the image size, the view, the clear colours and,
// for each frame, where it ends and what changes; then each byte picks a
// call and the bytes after it give its arguments: a small number scaled
// into and around the image, or now and then a raw float.

#include <algorithm>
#include <cstring>
#include <vector>

#include "FuzzFile.h"
#include "draw/software/SoftwareDrawBackend.h"

namespace {

constexpr uint32_t kGuard = 0xA5000000u;  // never a pixel: the renderer keeps the top byte clear
constexpr int kMargin = 3;                // guard pixels around the image

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  size_t at() const { return at_; }
  uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  // Mostly a coordinate in and around an image of this extent.
  float number(float extent) {
    const uint8_t kind = byte();
    if (kind < 16) {
      float raw = 0.0f;
      for (size_t i = 0; i < sizeof raw; ++i) reinterpret_cast<uint8_t*>(&raw)[i] = byte();
      return raw;
    }
    const int v = byte() << 8 | byte();
    return (static_cast<float>(v) / 65535.0f * 1.6f - 0.3f) * extent;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

BitmapFontSet testFont() {
  BitmapFontSet fonts(1);
  fonts[0].font = TextFont::TimesRoman24;
  for (int c = 0; c < 256; ++c) {
    BitmapGlyph& g = fonts[0].glyphs[static_cast<size_t>(c)];
    g.advance = c % 9;
    g.left = c % 5 - 2;
    g.bottom = c % 7 - 3;
    g.width = c % 4;
    g.height = c % 6;
    g.lit.assign(static_cast<size_t>(g.width * g.height), static_cast<uint8_t>(c & 1));
  }
  return fonts;
}

// The calls of the stream up to byte until.
void drawCalls(SoftwareDrawBackend& backend, Input& in, size_t until, float extent) {
  while (!in.empty() && in.at() < until) {
    switch (in.byte() % 14) {
      case 0:
        backend.begin(static_cast<Primitive>(in.byte() % 7));
        break;
      case 1:
        backend.end();
        break;
      case 2:
      case 3:
      case 4: {
        const float x = in.number(extent);
        backend.vertex(x, in.number(extent));
        break;
      }
      case 5: {
        const float r = in.byte() / 255.0f, g = in.byte() / 255.0f, b = in.number(1.0f);
        backend.color(r, g, b, in.byte() % 3 == 0 ? 1.0f : in.number(1.0f));
        break;
      }
      case 6:
        backend.lineWidth(in.number(8.0f));
        break;
      case 7:
        backend.pointSize(in.number(8.0f));
        break;
      case 8: {
        const float x = in.number(extent);
        backend.rasterPos(x, in.number(extent));
        break;
      }
      case 9:
        backend.bitmapCharacter(in.byte() & 1 ? TextFont::TimesRoman24 : TextFont::Helvetica10,
                                in.byte() - (in.byte() & 1) * 256);
        break;
      case 10: {
        const float x = in.number(extent), y = in.number(extent), r = in.number(extent);
        backend.fillDisc(x, y, r, in.byte() - 8);
        break;
      }
      case 11: {  // an axis-aligned rectangle, as the frame's veils are
        const float x0 = in.number(extent), y0 = in.number(extent), x1 = in.number(extent),
                    y1 = in.number(extent);
        backend.begin(Primitive::Quads);
        backend.vertex(x0, y0);
        backend.vertex(x1, y0);
        backend.vertex(x1, y1);
        backend.vertex(x0, y1);
        backend.end();
        break;
      }
      case 12: {  // a few objects' pictures, in a few states, some shadows
        const unsigned which = in.byte();
        const PictureKey key{1u + which % 4, which & 4 ? PictureKind::Shadow : PictureKind::Colour,
                             which >> 3 & 3u, which >> 5 & 1u};
        const float x0 = in.number(extent), y0 = in.number(extent), x1 = in.number(extent),
                    y1 = in.number(extent);
        backend.beginPicture(key, Rect{x0, x1, y0, y1});
        break;
      }
      case 13:
        backend.endPicture();
        break;
    }
  }
  backend.end();
}

// Every pixel inside the image keeps the top byte clear, and every guard
// pixel around it is untouched.
bool keptToImage(const std::vector<uint32_t>& memory, int width, int height) {
  const int stride = width + 2 * kMargin;
  for (int y = 0; y < height + 2 * kMargin; ++y) {
    for (int x = 0; x < stride; ++x) {
      const uint32_t pixel = memory[static_cast<size_t>(y) * stride + x];
      const bool inside = y >= kMargin && y < kMargin + height && x >= kMargin && x < kMargin + width;
      if (inside ? (pixel >> 24) != 0 : pixel != kGuard) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const BitmapFontSet fonts = testFont();
  constexpr int kFrames = 4;
  Input in(data, size);
  int width = 1 + in.byte() % 96;
  int height = 1 + in.byte() % 96;
  ScreenTransform view;
  if (in.byte() & 1) {
    view.scale = in.number(4.0f);
    view.offsetX = in.number(static_cast<float>(width));
    view.offsetY = in.number(static_cast<float>(height));
  }
  // A frame's clear is the first's, or (odd) one of its own.
  uint32_t clear[kFrames];
  clear[0] = in.byte() * 0x010101u;
  uint8_t change[kFrames];
  uint8_t end[kFrames];
  for (int f = 1; f < kFrames; ++f) {
    const uint8_t c = in.byte();
    clear[f] = c & 1 ? c * 0x010101u : clear[0];
  }
  for (int f = 0; f < kFrames; ++f) {
    change[f] = in.byte();
    end[f] = in.byte();
  }
  const size_t header = in.at();

  // Afresh, so that an input replays alone: one in tiles on two threads,
  // one whole.
  SoftwareDrawBackend tiled(fonts, 2);
  // Shared out (every frame this small would stay on one thread), in short
  // stretches of tiles, or on one thread in stretches of whole rows.
  if (size / 3 % 2 == 0) tiled.shareFrom(2);
  // Tiles of 16 or 32 pixels, or the game's, so that frames this small
  // still meet many tiles' edges; picked by the input's length, so that
  // the bytes of the seeds keep their meaning.
  const int shifts[] = {4, 5, SoftwareDrawBackend::kTileShift};
  tiled.tileShift(shifts[size % 3]);
  SoftwareDrawBackend whole(fonts, 1);
  whole.paintInTiles(false);
  std::vector<uint32_t> memory[2];
  for (int frame = 0; frame < kFrames; ++frame) {
    // Now and then a zoom step, a move of the view, or another size.
    const bool resized = frame > 0 && change[frame] % 8 == 0;
    if (resized) {
      width = 1 + (width * 3 + change[frame]) % 96;
      height = 1 + (height * 5 + change[frame]) % 96;
    }
    if (change[frame] % 8 == 1) view.scale *= 1.25;
    if (change[frame] % 8 == 2) view.offsetX += 3.0;
    const int stride = width + 2 * kMargin;
    const size_t until = header + 1 + (size - std::min(size, header)) * end[frame] / 256;
    const float extent = static_cast<float>(width > height ? width : height);
    for (int i = 0; i < 2; ++i) {
      SoftwareDrawBackend& backend = i == 0 ? tiled : whole;
      if (frame == 0 || resized)
        memory[i].assign(static_cast<size_t>(stride) * (height + 2 * kMargin), kGuard);
      const ImageView image{memory[i].data() + kMargin * stride + kMargin, width, height, stride};
      backend.beginFrame(image, view, clear[frame], frame > 0 && !resized);
      Input calls = in;
      drawCalls(backend, calls, until, extent);
      backend.endFrame();  // paints the frame
      FUZZ_CHECK(keptToImage(memory[i], width, height));
    }
    FUZZ_CHECK(memory[0] == memory[1]);
  }
  return 0;
}
