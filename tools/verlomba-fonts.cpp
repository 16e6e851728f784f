// Writes the game's bitmap fonts at a scale of 1, as freeglut holds them,
// to the file the build compiles into the game (make fonts).
//
//   verlomba-fonts data/fonts/bitmap-fonts.bin

#include <cstdio>
#include <fstream>

#include "fonts/BitmapFontWriter.h"
#include "fonts/GlutFontTables.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: verlomba-fonts OUTPUT\n");
    return 2;
  }
  const BitmapFontSet fonts = readGlutFonts();
  if (fonts.empty()) {
    std::fprintf(stderr, "verlomba-fonts: freeglut's font tables are not found in this process\n");
    return 1;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << writeBitmapFonts(fonts);
  if (!out.flush()) {
    std::fprintf(stderr, "verlomba-fonts: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
