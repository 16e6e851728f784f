// Draws the same recorded frames through OpenGL and through the software
// renderer and bounds how far the pictures differ. Needs an X display (the
// end-to-end suite runs it under Xvfb).
//
//   verlomba_renderer_comparison OUTPUT_DIR
//
// Prints one line per frame; when a frame differs by more than the bounds,
// writes NAME-gl.ppm, NAME-software.ppm and NAME-difference.ppm to
// OUTPUT_DIR and exits with 1.

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "CrowdedWorld.h"
#include "doubles/DrawCommandList.h"
#include "draw/BuiltInFonts.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/Text.h"
#include "draw/gl/GlDrawBackend.h"
#include "draw/gl/GlViewProjection.h"
#include "draw/software/SoftwareDrawBackend.h"
#include "fonts/GlutFontTables.h"
#include "platform/glut/GlutInit.h"
#include "support/PictureDifference.h"

namespace {

constexpr int kSize = 800;

struct Picture {
  std::vector<uint32_t> pixels = std::vector<uint32_t>(kSize * kSize);
  ImageView view() { return {pixels.data(), kSize, kSize, kSize}; }
};

struct Frame {
  std::string name;
  float zoom = 1.0f;
  DrawCommandList commands;
};

bool openWindow() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return false;
  ensureGlutInitialized();
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
  glutInitWindowSize(kSize, kSize);
  glutCreateWindow("Verlomba renderer comparison");
  glutDisplayFunc([] {});
  for (int i = 0; i < 20; ++i) glutMainLoopEvent();
  glViewport(0, 0, kSize, kSize);
  return true;
}

// The game window's GL state, as it is set up at start.
void gameGlState() {
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_LIGHTING);
  glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
}

Vec2 centre() {
  return {kSize * 0.5f, kSize * 0.5f};
}

Picture drawWithOpenGl(const Frame& frame) {
  gameGlState();
  glClear(GL_COLOR_BUFFER_BIT);
  loadViewProjection(kSize, kSize, frame.zoom, centre());
  GlDrawBackend gl;
  frame.commands.replay(gl);
  glFinish();
  std::vector<unsigned char> rgba(kSize * kSize * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  Picture p;
  for (int y = 0; y < kSize; ++y) {
    const unsigned char* src = rgba.data() + static_cast<size_t>(kSize - 1 - y) * kSize * 4;  // rows go up
    for (int x = 0; x < kSize; ++x) {
      p.pixels[y * kSize + x] = uint32_t{src[4 * x]} << 16 | uint32_t{src[4 * x + 1]} << 8 | src[4 * x + 2];
    }
  }
  return p;
}

// Drawn again while pictures kept from the last frame at another zoom are
// shown resampled: the picture once the view has settled.
Picture drawWithSoftware(SoftwareDrawBackend& software, const Frame& frame) {
  Picture p;
  for (int i = 0; i < 100 && (i == 0 || software.staleCount() > 0); ++i) {
    software.beginFrame(p.view(), viewTransform(kSize, kSize, frame.zoom, centre()), 0xFFFFFF);
    frame.commands.replay(software);
    software.endFrame();
  }
  return p;
}

void writePpm(const std::string& path, const std::vector<uint32_t>& pixels) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fprintf(f, "P6\n%d %d\n255\n", kSize, kSize);
  for (uint32_t p : pixels) {
    const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                  static_cast<unsigned char>(p)};
    std::fwrite(rgb, 1, 3, f);
  }
  std::fclose(f);
}

// The pixels a glyph lights, relative to its raster position's pixel.
std::vector<std::pair<int, int>> litPixels(const BitmapGlyph& g) {
  std::vector<std::pair<int, int>> lit;
  for (int row = 0; row < g.height; ++row) {
    for (int column = 0; column < g.width; ++column) {
      if (g.isLit(column, row)) lit.emplace_back(g.left + column, g.bottom + row);
    }
  }
  return lit;
}

// The fonts read from freeglut's tables light the pixels OpenGL lights when
// it draws them, and move on as far.
bool sameGlyphs(const BitmapFontSet& read, const BitmapFontSet& captured) {
  if (read.empty() || read.size() != captured.size()) return false;
  for (size_t f = 0; f < read.size(); ++f) {
    for (int c = 0; c < 256; ++c) {
      const BitmapGlyph& a = read[f].glyphs[static_cast<size_t>(c)];
      const BitmapGlyph& b = captured[f].glyphs[static_cast<size_t>(c)];
      if (read[f].font != captured[f].font || a.advance != b.advance || litPixels(a) != litPixels(b)) {
        std::printf("font %zu, character %d: read and drawn glyphs differ\n", f, c);
        return false;
      }
    }
  }
  return true;
}

// Records what the game draws in one frame of a world a third of a second
// old, after a last change to it.
void recordGame(
    Frame& frame, const std::function<void(Game&)>& build,
    const std::function<void(Game&)>& change = [](Game&) {}) {
  HeadlessGame h;
  build(h.game());
  h.tick(10);
  change(h.game());
  setDrawBackend(&frame.commands);
  resetPen();
  h.game().onDraw();
  setDrawBackend(nullptr);
}

// Every printable character of every font, in several colours and alphas,
// at whole and fractional positions, and at raster positions on and just
// off the window's borders.
void recordText(Frame& frame) {
  setDrawBackend(&frame.commands);
  resetPen();
  setColor(1.0f, 1.0f, 1.0f);
  fillRect(Rect{0, kSize, 0, kSize});
  std::string ascii, latin;
  for (int c = 32; c < 127; ++c) ascii += static_cast<char>(c);
  for (int c = 160; c < 256; ++c) latin += static_cast<char>(c);
  float y = 30.0f;
  for (int code : {2, 1, 3}) {
    selectFont(code);
    for (const std::string* line : {&ascii, &latin}) {
      for (size_t start = 0; start < line->size(); start += 48) {
        const std::string part = line->substr(start, 48);
        setColor(code == 3 ? 0.8f : 0.0f, 0.2f, code == 2 ? 0.9f : 0.1f);
        setAlpha(start == 0 ? 1.0f : 0.6f);
        drawText(10.0f + 0.37f * static_cast<float>(start % 3), y, "%s", part.c_str());
        y += code == 3 ? 30.0f : 16.0f;
      }
    }
  }
  setAlpha(1.0f);
  setColor(0.0f, 0.0f, 0.0f);
  selectFont(1);
  drawText(0.0f, 12.0f, "left border");
  drawText(-0.5f, 40.0f, "off the left: not drawn");
  drawText(700.0f, static_cast<float>(kSize), "bottom border");
  drawText(700.0f, kSize + 0.5f, "off the bottom");
  drawText(760.0f, 790.0f, "past the right edge");
  setDrawBackend(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string out = argc > 1 ? argv[1] : ".";
  if (!openWindow()) {
    std::fprintf(stderr, "no X display (DISPLAY is not set)\n");
    return 2;
  }
  const BitmapFontSet& fonts = builtInFonts();
  if (!sameGlyphs(fonts, captureGlutFonts())) {
    std::printf("the fonts built into the game are not the ones OpenGL draws: run make fonts\n");
    return 1;
  }
  std::printf("the fonts built into the game light the pixels OpenGL lights\n");
  SoftwareDrawBackend software(fonts);

  std::vector<Frame> frames(6);
  frames[0].name = "start";
  recordGame(frames[0], [](Game&) {});
  frames[1].name = "crowded";
  recordGame(frames[1], buildCrowdedWorld);
  frames[2].name = "night";
  recordGame(frames[2], buildCrowdedWorld, [](Game& g) { g.daylight = 0.1f; });
  frames[3].name = "debug-view";
  recordGame(frames[3], buildCrowdedWorld, [](Game& g) { g.debugView = true; });
  frames[4].name = "zoomed";
  frames[4].zoom = 2.0736f;
  recordGame(frames[4], buildCrowdedWorld);
  frames[5].name = "text";
  recordText(frames[5]);

  bool ok = true;
  std::printf("%-12s %12s %16s\n", "frame", "pixels off", "mean difference");
  for (const Frame& frame : frames) {
    const Picture gl = drawWithOpenGl(frame);
    const Picture soft = drawWithSoftware(software, frame);
    const PictureDifference d = pictureDifference(gl.pixels, soft.pixels);
    const bool within = d.withinRendererBound();
    std::printf("%-12s %11.2f%% %16.3f  %s\n", frame.name.c_str(), 100.0 * d.offShare, d.mean,
                within ? "ok" : "TOO DIFFERENT");
    if (!within || std::getenv("VERLOMBA_KEEP_PICTURES")) {
      writePpm(out + "/" + frame.name + "-gl.ppm", gl.pixels);
      writePpm(out + "/" + frame.name + "-software.ppm", soft.pixels);
      writePpm(out + "/" + frame.name + "-difference.ppm", d.picture);
    }
    ok = ok && within;
  }
  std::printf("bounds: at most 5%% of pixels off by more than 8 in a channel, mean difference at most 1.5\n");
  return ok ? 0 : 1;
}
