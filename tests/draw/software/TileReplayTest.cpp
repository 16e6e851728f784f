#include <gtest/gtest.h>

#include <cstdint>
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

}  // namespace
