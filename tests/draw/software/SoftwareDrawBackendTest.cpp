#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "doubles/RecordingDrawBackend.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/Text.h"
#include "draw/software/SoftwareDrawBackend.h"

namespace {

int blue(uint32_t pixel) {
  return static_cast<int>(pixel & 0xFFu);
}

// A font of one glyph, 'A': an L three pixels high and two wide whose
// corner sits one pixel right of and one below the raster position's pixel
// (rows go upwards, as OpenGL's), advancing by 4.
BitmapFontSet oneGlyphFont() {
  BitmapFontSet fonts(1);
  fonts[0].font = TextFont::TimesRoman24;
  BitmapGlyph& a = fonts[0].glyphs['A'];
  a.advance = 4;
  a.left = 1;
  a.bottom = -1;
  a.width = 2;
  a.height = 3;
  a.lit = {1, 1, 1, 0, 1, 0};  // bottom row first
  return fonts;
}

void polygon(std::initializer_list<Vec2> points) {
  beginPolygon();
  for (const Vec2& p : points) vertex(p.x, p.y);
  endShape();
}

// A 40 by 30 black image drawn by the software backend, installed with a
// fresh pen for the life of the fixture.
class SoftwareBackendTest : public ::testing::Test {
 protected:
  SoftwareBackendTest() : backend(oneGlyphFont()), pixels(40 * 30, 0u), image{pixels.data(), 40, 30, 40} {
    setDrawBackend(&backend);
    resetPen();
    begin(ScreenTransform{});
  }
  ~SoftwareBackendTest() override {
    resetPen();
    setDrawBackend(nullptr);
  }

  // A black picture to draw on (the backend clears it only once something is drawn).
  void begin(const ScreenTransform& t) {
    std::fill(pixels.begin(), pixels.end(), 0u);
    backend.beginFrame(image, t, 0x000000);
  }
  // The frame so far: ending it paints every call since it began.
  uint32_t at(int x, int y) {
    backend.endFrame();
    return image.at(x, y);
  }
  double paintedArea() {
    backend.endFrame();
    double sum = 0;
    for (uint32_t p : pixels) sum += blue(p) / 255.0;
    return sum;
  }

  SoftwareDrawBackend backend;
  std::vector<uint32_t> pixels;
  ImageView image;
};

TEST_F(SoftwareBackendTest, ShapesLandWhereTheViewPutsThemWithWidthsInPixels) {
  setColor(1.0f, 1.0f, 1.0f);
  fillRect(Rect{2, 6, 3, 5});
  EXPECT_EQ(at(2, 3), 0xFFFFFFu);
  EXPECT_EQ(at(5, 4), 0xFFFFFFu);
  EXPECT_EQ(at(6, 4), 0u);
  EXPECT_NEAR(paintedArea(), 8.0, 0.01);

  // Zoom 2 about the centre of a 40 by 30 window with the world centred:
  // world (20, 15) stays put and one world unit is two pixels.
  begin(viewTransform(40, 30, 2.0f, {20.0f, 15.0f}));
  fillRect(Rect{20, 21, 15, 16});
  EXPECT_NEAR(paintedArea(), 4.0, 0.01);
  EXPECT_EQ(at(21, 16), 0xFFFFFFu);
  EXPECT_EQ(at(22, 16), 0u);
  // A line keeps its width in pixels however far the view zooms.
  begin(viewTransform(40, 30, 2.0f, {20.0f, 15.0f}));
  setLineWidth(3.0f);
  drawLine(15.0f, 15.5f, 25.0f, 15.5f);
  EXPECT_NEAR(paintedArea(), 20.0 * 3.0, 0.15);
  // A translation moves the world under the window.
  begin(viewTransform(40, 30, 1.0f, {30.0f, 15.0f}));
  fillRect(Rect{0, 1, 0, 1});
  EXPECT_EQ(at(10, 0), 0xFFFFFFu);
}

TEST_F(SoftwareBackendTest, FramesStartFromTheirBackgroundColour) {
  const auto all = [&](uint32_t colour) {
    return std::all_of(pixels.begin(), pixels.end(), [&](uint32_t p) { return p == colour; });
  };
  backend.beginFrame(image, {}, 0x123456);
  backend.endFrame();
  EXPECT_TRUE(all(0x123456));
  backend.beginFrame(image, {}, 0xABCDEF);
  setColor(1.0f, 1.0f, 1.0f);
  fillCircle(3, 3, 2);
  EXPECT_EQ(at(20, 20), 0xABCDEFu);
  // A first shape that covers the whole window needs no clearing under it.
  backend.beginFrame(image, {}, 0xABCDEF);
  fillRect(Rect{-1, 41, -1, 31});
  backend.endFrame();
  EXPECT_TRUE(all(0xFFFFFF));
}

TEST_F(SoftwareBackendTest, StripsAndLoopsFillAsOneShapeWithoutSeamsOrDoublePaint) {
  setColor(1.0f, 1.0f, 1.0f);
  setAlpha(0.5f);
  strokeRect(Rect{4, 36, 4, 26}, 3.0f);  // ten triangles in a strip
  const int half = blue(at(5, 10));
  EXPECT_NEAR(half, 128, 1);
  for (int x = 4; x < 36; ++x) ASSERT_EQ(blue(at(x, 5)), half) << x;  // no seam between triangles
  EXPECT_EQ(at(20, 15), 0u);                                          // the hole stays

  // A loop's corners are painted once, not once per segment.
  begin(ScreenTransform{});
  setLineWidth(2.0f);
  beginLineLoop();
  vertex(10, 10);
  vertex(30, 10);
  vertex(30, 20);
  vertex(10, 20);
  endShape();
  EXPECT_LE(blue(at(29, 10)), 129);
  // Four bands two wide less the four squares where they overlap; the
  // outer corners stay open, as OpenGL's lines leave them.
  EXPECT_NEAR(paintedArea() * 2, 2 * 20 * 2 + 2 * 10 * 2 - 4, 1.5);
  setAlpha(1.0f);
}

TEST_F(SoftwareBackendTest, AlphaZeroAndDegenerateAndNonFiniteShapesPaintNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  setColor(1.0f, 1.0f, 1.0f);
  setAlpha(0.0f);
  fillRect(Rect{0, 40, 0, 30});
  setAlpha(1.0f);
  polygon({{5, 5}, {nan, 9}, {20, 20}});
  polygon({{5, 5}, {inf, 5}, {5, 20}});
  drawLine(8, 8, 8, 8);
  polygon({{1, 1}, {30, 20}});  // too few points
  fillCircle(20, 15, nan);
  fillCircle(nan, 15, 5);
  EXPECT_EQ(paintedArea(), 0.0);

  // Calls out of order are ignored, as OpenGL ignores them.
  endShape();
  vertex(3, 3);
  beginPolygon();
  setLineWidth(9.0f);  // inside a shape: refused
  vertex(0, 0);
  vertex(4, 0);
  vertex(4, 4);
  endShape();
  EXPECT_NEAR(paintedArea(), 8.0, 0.01);
  drawLine(10, 20.5f, 30, 20.5f);
  EXPECT_NEAR(paintedArea(), 8.0 + 20.0, 0.05);  // still one pixel wide
  setLineWidth(1.0f);

  // A disc too large to paint directly goes to the polygon path and clips.
  begin(ScreenTransform{});
  fillCircle(20, 15, 3e38f);
  EXPECT_NEAR(paintedArea(), 40 * 30, 0.5);
}

TEST_F(SoftwareBackendTest, TextFollowsTheRasterPositionRules) {
  setColor(1.0f, 1.0f, 1.0f);
  setFont(TextFont::TimesRoman24);
  // The raster position's pixel is (10, 19); the glyph's corner is one to
  // the right and one below it.
  drawText(10.5f, 20.0f, "AA");
  const int lit[][2] = {{11, 20}, {12, 20}, {11, 19}, {11, 18}, {15, 20}, {16, 20}, {15, 19}, {15, 18}};
  for (const auto& p : lit) EXPECT_EQ(at(p[0], p[1]), 0xFFFFFFu) << p[0] << "," << p[1];
  EXPECT_NEAR(paintedArea(), 8.0, 1e-9);
  EXPECT_EQ(textWidth("AAb"), 8.0f);  // b has no glyph: no width, nothing drawn

  // The colour is the one in force at the raster position.
  begin(ScreenTransform{});
  setColor(0.0f, 0.0f, 1.0f);
  drawText(10.5f, 20.0f, "A");
  DrawBackend& out = drawBackend();
  out.color(1.0f, 0.0f, 0.0f, 1.0f);
  out.rasterPos(20.0f, 20.0f);
  out.color(0.0f, 1.0f, 0.0f, 1.0f);
  out.bitmapCharacter(TextFont::TimesRoman24, 'A');
  EXPECT_EQ(at(11, 20), 0x0000FFu);
  EXPECT_EQ(at(21, 20), 0xFF0000u);

  // A raster position outside the window draws nothing, even of the text
  // that would reach into it; one on the border is still inside.
  begin(ScreenTransform{});
  setColor(0.0f, 0.0f, 1.0f);
  drawText(-0.5f, 20.0f, "AAAA");
  drawText(10.0f, 30.5f, "A");
  EXPECT_EQ(paintedArea(), 0.0);
  drawText(40.0f, 30.0f, "A");
  drawText(0.0f, 0.0f, "A");  // all but its bottom row fall off the top
  EXPECT_EQ(at(1, 0), 0x0000FFu);
}

// Frames drawn in tiles on two threads over the image of the last, against
// each painted whole: the tiles under what moved, changed colour or zoomed
// are painted again, to the same pixels, and only those.
TEST(SoftwareTiles, OnlyTheTilesUnderWhatChangedArePaintedAgain) {
  constexpr int kTile = SoftwareDrawBackend::kTileSide;
  constexpr int kSide = 4 * kTile;    // sixteen tiles
  constexpr float u = kTile / 32.0f;  // the scene is laid out for tiles of 32
  SoftwareDrawBackend tiled({}, 2);
  tiled.shareFrom(2);
  SoftwareDrawBackend whole({}, 1);
  whole.paintInTiles(false);
  std::vector<uint32_t> kept(kSide * kSide), fresh(kSide * kSide);
  struct Scene {
    float discX = 14.0f * u;
    float red = 0.2f;
    float zoom = 1.0f;
  };
  const auto draw = [&](SoftwareDrawBackend& backend, std::vector<uint32_t>& pixels, const Scene& scene) {
    setDrawBackend(&backend);
    resetPen();
    backend.beginFrame({pixels.data(), kSide, kSide, kSide},
                       viewTransform(kSide, kSide, scene.zoom, {kSide * 0.5f, kSide * 0.5f}), 0x336699,
                       &backend == &tiled);
    setColor(1.0f, 1.0f, 1.0f);
    setAlpha(0.25f);
    fillRect(Rect{0, kSide, 0, kSide});  // a veil over every tile
    setAlpha(1.0f);
    setColor(0.9f, 0.8f, 0.1f);
    fillCircle(scene.discX, 20.0f * u, 9.0f * u);
    setColor(scene.red, 0.5f, 0.3f);
    setAlpha(0.75f);
    polygon({{70 * u, 70 * u}, {120 * u, 80 * u}, {90 * u, 120 * u}});
    backend.endFrame();
    setDrawBackend(nullptr);
  };
  const auto frame = [&](const Scene& scene) {
    draw(tiled, kept, scene);
    draw(whole, fresh, scene);
    EXPECT_TRUE(kept == fresh);
    return tiled.paintedTiles();
  };
  Scene scene;
  EXPECT_EQ(frame(scene), 16);
  EXPECT_EQ(frame(scene), 0);  // nothing changed
  scene.discX = 17.5f * u;     // in the top left quarter
  EXPECT_GE(frame(scene), 1);
  EXPECT_LE(tiled.changedArea().right, 2 * kTile);
  EXPECT_LE(tiled.changedArea().bottom, 2 * kTile);
  scene.red = 0.6f;  // the polygon, in the bottom right quarter
  EXPECT_GE(frame(scene), 4);
  EXPECT_EQ(tiled.changedArea().left, 2 * kTile);
  EXPECT_EQ(tiled.changedArea().top, 2 * kTile);
  // Zoomed, the veil leaves the empty tiles one colour, as they were.
  scene.zoom = 1.1f;
  const int zoomed = frame(scene);
  EXPECT_GE(zoomed, 5);
  EXPECT_LT(zoomed, 16);
  EXPECT_TRUE(tiled.sharedLastFrame());  // from two tiles, whatever they cost
  EXPECT_EQ(frame(scene), 0);

  // A frame that one thread paints soon enough stays on it, once it is
  // known how soon: here any frame, after the first.
  SoftwareDrawBackend alone({}, 2);
  alone.shareFrom(2, 1e9);
  draw(alone, kept, scene);
  EXPECT_TRUE(alone.sharedLastFrame());
  scene.discX = 14.0f * u;
  draw(alone, kept, scene);
  EXPECT_FALSE(alone.sharedLastFrame());
  draw(whole, fresh, scene);
  EXPECT_TRUE(kept == fresh);
}

TEST(SoftwareTiles, ThreadsAreTheSettingOrTheCoresUpToEight) {
  EXPECT_EQ(drawingThreads("1", 4), 1);
  EXPECT_EQ(drawingThreads("12", 2), 12);
  EXPECT_EQ(drawingThreads(nullptr, 2), 2);
  EXPECT_EQ(drawingThreads("", 32), 8);
  for (const char* nonsense : {"0", "-3", "65", "two", "4x"}) EXPECT_EQ(drawingThreads(nonsense, 0), 1);
}

}  // namespace
