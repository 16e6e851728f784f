// Random streams of drawing calls into the software renderer: whatever the
// calls, coordinates, sizes, colours and view (NaN, infinity and 3e38
// included), nothing is written outside the image, the image keeps its
// pixel format, and every call returns.
//
// The first bytes choose the image size and the view; then each byte picks
// a call and the bytes after it give its arguments: a small number scaled
// into and around the image, or now and then a raw float.

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const BitmapFontSet fonts = testFont();
  SoftwareDrawBackend backend(fonts);  // afresh, so that an input replays alone
  Input in(data, size);
  const int width = 1 + in.byte() % 96;
  const int height = 1 + in.byte() % 96;
  const int stride = width + 2 * kMargin;
  std::vector<uint32_t> memory(static_cast<size_t>(stride) * (height + 2 * kMargin), kGuard);
  const ImageView image{memory.data() + kMargin * stride + kMargin, width, height, stride};
  ScreenTransform view;
  if (in.byte() & 1) {
    view.scale = in.number(4.0f);
    view.offsetX = in.number(static_cast<float>(width));
    view.offsetY = in.number(static_cast<float>(height));
  }
  backend.beginFrame(image, view, in.byte() * 0x010101u);

  const float extent = static_cast<float>(width > height ? width : height);
  while (!in.empty()) {
    switch (in.byte() % 11) {
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
    }
  }
  backend.end();
  backend.endFrame();  // lays on the clear when no shape did

  for (int y = 0; y < height + 2 * kMargin; ++y) {
    for (int x = 0; x < stride; ++x) {
      const uint32_t pixel = memory[static_cast<size_t>(y) * stride + x];
      const bool inside = y >= kMargin && y < kMargin + height && x >= kMargin && x < kMargin + width;
      FUZZ_CHECK(inside ? (pixel >> 24) == 0 : pixel == kGuard);
    }
  }
  return 0;
}
