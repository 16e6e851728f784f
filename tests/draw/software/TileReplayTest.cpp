#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "draw/software/FrameRecording.h"
#include "draw/software/TileReplay.h"

namespace {

// One thread's replay lays a frame's tiles in whatever order they come to
// it, of every shape the frame's edges make: each lays its own part of a
// shadow, whatever tile came before it.
TEST(TileReplayShadows, EachTileLaysItsOwnPartWhateverTheShapeOfTheTileBefore) {
  constexpr int kSide = 40;  // tiles of 32 by 32, 8 by 32, 32 by 8 and 8 by 8
  const std::vector<uint8_t> coverage(kSide * kSide, 255);
  FrameRecording recording;
  recording.begin(kSide, kSide, 5, 1);
  DrawOp shadow;
  shadow.kind = DrawOp::Kind::ShadowAdd;
  shadow.width = shadow.height = shadow.stride = kSide;
  shadow.data = coverage.data();
  recording.add(shadow, PixelBox{0, 0, kSide, kSide}, 7);
  recording.closeShadows(0x000000);
  ASSERT_EQ(recording.tileCount(), 4);
  std::vector<uint32_t> pixels(kSide * kSide, 0xFFFFFF);
  const ImageView image{pixels.data(), kSide, kSide, kSide};
  TileReplay replay;
  // A wide tile of few rows first, then a narrow one of more rows but no
  // more pixels.
  for (const int tile : {2, 1, 3, 0}) {
    const PixelBox b = recording.tileBox(tile);
    ASSERT_GT(b.right - b.left, 0);
    replay.play(image, recording, {}, tile, 0xFFFFFF, false);
  }
  for (const uint32_t p : pixels) ASSERT_EQ(p, 0x000000u);
}

// Tiles side by side played as one stretch lay the pixels they lay one by
// one: calls over some of them and not others, a shape's runs, shadows
// flushed tile by tile in two colours, a narrow last tile, a stretch that
// starts mid-row.
TEST(TileReplayStretches, AStretchLaysWhatItsTilesLayOneByOne) {
  constexpr int kWidth = 80;  // columns of 32, 32 and 16
  constexpr int kHeight = 40;
  std::vector<uint8_t> coverage(kWidth * kHeight);
  std::vector<uint32_t> picture(kWidth * kHeight);
  for (size_t i = 0; i < coverage.size(); ++i) {
    coverage[i] = static_cast<uint8_t>(i * 37 % 251);
    const uint32_t a = static_cast<uint32_t>(i * 13 % 256);
    picture[i] = a << 24 | (a * 3 / 4) << 16 | (a / 2) << 8 | a / 5;  // premultiplied
  }
  FrameRecording recording;
  recording.begin(kWidth, kHeight, 5, 1);
  // A shadow's coverage or a picture's pixels, a box of them from their
  // top left, filed under the box.
  const auto lay = [&](DrawOp::Kind kind, int left, int top, int width, int height) {
    DrawOp op;
    op.kind = kind;
    op.left = left;
    op.top = top;
    op.width = width;
    op.height = height;
    op.stride = kWidth;
    op.data = kind == DrawOp::Kind::Picture ? static_cast<const void*>(picture.data()) : coverage.data();
    recording.add(op, PixelBox{left, top, left + width, top + height}, 7);
  };
  DrawOp rect;
  rect.x0 = 3.5;
  rect.y0 = 2.25;
  rect.x1 = 70.75;
  rect.y1 = 30.5;
  rect.rgb = 0x204080;
  rect.alpha = 160;
  recording.add(rect, PixelBox{3, 2, 71, 31}, 0);
  lay(DrawOp::Kind::ShadowAdd, 10, 5, 60, 30);
  lay(DrawOp::Kind::ShadowAdd, 40, 0, 40, 12);
  recording.closeShadows(0x101010);
  lay(DrawOp::Kind::Picture, 20, 8, 45, 32);
  // A triangle over every tile, laid through its runs.
  DrawOp shape;
  shape.kind = DrawOp::Kind::Shape;
  shape.x1 = kWidth;
  shape.y1 = kHeight;
  shape.edgeCount = 3;
  recording.edges() = {{2.5, 1.0, 79.0, 20.25}, {79.0, 20.25, 30.75, 39.5}, {30.75, 39.5, 2.5, 1.0}};
  shape.rgb = 0x30C030;
  shape.alpha = 200;
  const uint32_t triangle = recording.add(shape, PixelBox{2, 1, kWidth, kHeight}, 0);
  lay(DrawOp::Kind::ShadowAdd, 66, 20, 14, 20);
  lay(DrawOp::Kind::ShadowAdd, 0, 30, 30, 10);
  recording.closeShadows(0x800000);
  ASSERT_EQ(recording.columns(), 3);

  std::vector<uint32_t> apart(kWidth * kHeight, 0);
  std::vector<uint32_t> together(kWidth * kHeight, 0);
  const ImageView image{together.data(), kWidth, kHeight, kWidth};
  TileReplay replay;
  std::vector<TileReplay::Runs> runs(1);
  replay.rasterize(image, recording, recording.op(triangle), runs[0]);
  for (int tile = 0; tile < recording.tileCount(); ++tile)
    replay.play({apart.data(), kWidth, kHeight, kWidth}, recording, runs, tile, 0xC0C0C0, false);
  replay.playTiles(image, recording, runs, 0, 3, 0xC0C0C0, false);
  replay.playTiles(image, recording, runs, 3, 1, 0xC0C0C0, false);
  replay.playTiles(image, recording, runs, 4, 2, 0xC0C0C0, false);
  EXPECT_TRUE(together == apart);
  // Every pixel was laid, and the calls left their marks.
  EXPECT_EQ(std::count(together.begin(), together.end(), 0u), 0);
  EXPECT_GT(std::set<uint32_t>(together.begin(), together.end()).size(), 100u);
}

}  // namespace
