// Writes the game's bitmap fonts at a scale of 1, as freeglut holds them,
// to the file the build compiles into the game, and the fonts the browser
// draws with at its other scales, rasterized here with FreeType (the
// browser build has no FreeType of its own) (make fonts).
//
//   verlomba-fonts data/fonts/bitmap-fonts.bin
//   verlomba-fonts --scaled data/fonts/scaled-fonts.bin

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "draw/ScaledFonts.h"
#include "fonts/BitmapFontWriter.h"
#include "fonts/GlutFontTables.h"

namespace {

// The browser's scales besides 1 (a devicePixelRatio is lowered to one of
// them): the usual ratios of screens and browser zooms.
constexpr double kWebScales[] = {0.5, 0.75, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// "VSF1", a byte with the number of sets, then for each its scale in
// hundredths (16 bits), the length of its bytes (32 bits) and the bytes, a
// bitmap font file; little-endian.
bool scaledFonts(std::string& out) {
  out = "VSF1";
  out += static_cast<char>(sizeof kWebScales / sizeof kWebScales[0]);
  for (double scale : kWebScales) {
    std::string problem;
    const std::string fonts = writeBitmapFonts(rasterizeFonts(scale, problem));
    if (!problem.empty()) {
      std::fprintf(stderr, "verlomba-fonts: %s\n", problem.c_str());
      return false;
    }
    putLittleEndian(out, static_cast<uint32_t>(std::lround(scale * 100)), 2);
    putLittleEndian(out, static_cast<uint32_t>(fonts.size()), 4);
    out += fonts;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool scaled = argc == 3 && std::strcmp(argv[1], "--scaled") == 0;
  if (argc != 2 && !scaled) {
    std::fprintf(stderr, "usage: verlomba-fonts [--scaled] OUTPUT\n");
    return 2;
  }
  const char* path = argv[argc - 1];
  std::string bytes;
  if (scaled) {
    if (!scaledFonts(bytes)) return 1;
  } else {
    const BitmapFontSet fonts = readGlutFonts();
    if (fonts.empty()) {
      std::fprintf(stderr, "verlomba-fonts: freeglut's font tables are not found in this process\n");
      return 1;
    }
    bytes = writeBitmapFonts(fonts);
  }
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  if (!out.flush()) {
    std::fprintf(stderr, "verlomba-fonts: cannot write %s\n", path);
    return 1;
  }
  return 0;
}
