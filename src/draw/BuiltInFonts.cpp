#include "draw/BuiltInFonts.h"

#include <cstring>

extern const unsigned char kBitmapFontsData[];
extern const std::size_t kBitmapFontsDataSize;

namespace {

// Reads the file front to back; every read past its end fails.
class Reader {
 public:
  Reader(const unsigned char* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
  bool take(std::size_t n, const unsigned char*& out) {
    if (size_ - at_ < n) return false;
    out = bytes_ + at_;
    at_ += n;
    return true;
  }
  bool u8(int& value) {
    const unsigned char* p = nullptr;
    if (!take(1, p)) return false;
    value = p[0];
    return true;
  }
  bool u16(int& value) {
    const unsigned char* p = nullptr;
    if (!take(2, p)) return false;
    value = p[0] | p[1] << 8;
    return true;
  }
  bool i16(int& value) {
    if (!u16(value)) return false;
    if (value >= 0x8000) value -= 0x10000;
    return true;
  }
  bool atEnd() const { return at_ == size_; }

 private:
  const unsigned char* bytes_;
  std::size_t size_;
  std::size_t at_ = 0;
};

bool readGlyph(Reader& in, BitmapGlyph& glyph) {
  if (!in.i16(glyph.advance) || !in.i16(glyph.left) || !in.i16(glyph.bottom) || !in.u16(glyph.width) ||
      !in.u16(glyph.height)) {
    return false;
  }
  const std::size_t count = static_cast<std::size_t>(glyph.width) * glyph.height;
  const unsigned char* bits = nullptr;
  if (!in.take((count + 7) / 8, bits)) return false;
  glyph.lit.resize(count);
  for (std::size_t i = 0; i < count; ++i) glyph.lit[i] = (bits[i / 8] >> (7 - i % 8)) & 1;
  return true;
}

}  // namespace

BitmapFontSet readBitmapFonts(const unsigned char* bytes, std::size_t size) {
  Reader in(bytes, size);
  const unsigned char* magic = nullptr;
  int count = 0;
  if (!in.take(4, magic) || std::memcmp(magic, "VBF1", 4) != 0 || !in.u8(count)) return {};
  BitmapFontSet fonts(static_cast<std::size_t>(count));
  for (BitmapFont& font : fonts) {
    int id = 0;
    if (!in.u8(id) || id > static_cast<int>(TextFont::TimesRoman24)) return {};
    font.font = static_cast<TextFont>(id);
    for (BitmapGlyph& glyph : font.glyphs) {
      if (!readGlyph(in, glyph)) return {};
    }
  }
  return in.atEnd() ? fonts : BitmapFontSet{};
}

const BitmapFontSet& builtInFonts() {
  static const BitmapFontSet fonts = readBitmapFonts(kBitmapFontsData, kBitmapFontsDataSize);
  return fonts;
}
