#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "draw/software/DiscMaskCache.h"
#include "draw/software/PixelBlend.h"
#include "draw/software/PixelShapes.h"

namespace {

constexpr double kPi = 3.14159265358979;

int channel(uint32_t pixel, int shift) {
  return static_cast<int>((pixel >> shift) & 0xFFu);
}

struct Canvas {
  Canvas(int w, int h, uint32_t fill = 0)
      : pixels(static_cast<size_t>(w) * h, fill), view{pixels.data(), w, h, w} {}
  std::vector<uint32_t> pixels;
  ImageView view;
  // The share of white painted on black, summed over the blue channel.
  double paintedArea() const {
    double sum = 0;
    for (uint32_t p : pixels) sum += channel(p, 0) / 255.0;
    return sum;
  }
};

TEST(PixelBlend, RunsBlendLikeSinglePixelsAndBothMatchTheExactBlend) {
  const uint32_t colours[] = {0x000000, 0xFFFFFF, 0x12A4F0, 0x80007F};
  for (uint32_t src : colours) {
    for (uint32_t dst : colours) {
      for (int alpha = 0; alpha <= 256; alpha += 8) {
        const uint32_t one = blendPixel(dst, src, static_cast<uint32_t>(alpha));
        for (int shift : {0, 8, 16}) {
          const double exact =
              channel(src, shift) * alpha / 256.0 + channel(dst, shift) * (256 - alpha) / 256.0;
          EXPECT_LE(std::fabs(channel(one, shift) - exact), 0.5 + 1e-9) << std::hex << src << " on " << dst;
        }
        EXPECT_EQ(one >> 24, 0u);
        // Every length, so that the four-pixel steps and the tail both run.
        for (int count = 0; count <= 9; ++count) {
          std::vector<uint32_t> row(10, dst);
          SpanPainter(src, alpha).run(row.data(), count);
          for (int i = 0; i < 10; ++i)
            ASSERT_EQ(row[i], i < count ? (alpha ? one : dst) : dst) << count << " " << i;
        }
      }
    }
  }
  const float nan = std::nanf("");
  EXPECT_EQ(paintOf(2.0f, -1.0f, 0.5f, 1.5f).rgb, 0xFF0080u);  // clamped as OpenGL clamps
  EXPECT_EQ(paintOf(2.0f, -1.0f, 0.5f, 1.5f).alpha, 256);
  EXPECT_EQ(paintOf(nan, nan, nan, nan).rgb, 0u);
  EXPECT_EQ(paintOf(nan, nan, nan, nan).alpha, 0);
}

// A kept picture laid over a frame four pixels at a time, some groups blank,
// some opaque and some mixed, row by row at the strides of each, gives what
// each pixel laid alone gives; the frame's pixels keep no alpha, and those
// beside the rows are left alone.
TEST(PixelBlend, PicturesLaidInGroupsMatchTheBlendOfEachPixel) {
  const auto premultiplied = [](uint32_t rgb, uint32_t alpha) {
    uint32_t p = alpha << 24;
    for (int shift : {0, 8, 16}) p |= ((rgb >> shift & 0xFFu) * alpha + 127) / 255 << shift;
    return p;
  };
  const auto one = [](uint32_t dst, uint32_t p) {
    const uint32_t alpha = p >> 24;
    uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
      const uint32_t c =
          (channel(dst, shift) * (256 - (alpha + (alpha >> 7))) + 128) / 256 + channel(p, shift);
      out |= std::min(c, 255u) << shift;
    }
    return out;
  };
  std::srand(7);
  constexpr int kRows = 3;
  for (int round = 0; round < 200; ++round) {
    const int width = round % 23;
    const int pictureStride = width + round % 5;
    const int frameStride = width + 7;
    std::vector<uint32_t> picture(static_cast<size_t>(pictureStride) * kRows);
    for (size_t i = 0; i < picture.size(); ++i) {
      const int group = (static_cast<int>(i) / 4 + round) % 3;  // blank, opaque, mixed
      const int pick = group == 2 ? std::rand() % 3 : group;
      const uint32_t alpha = pick == 0 ? 0 : pick == 1 ? 255 : static_cast<uint32_t>(std::rand() % 256);
      picture[i] = premultiplied(static_cast<uint32_t>(std::rand()) & 0xFFFFFF, alpha);
    }
    std::vector<uint32_t> frame(static_cast<size_t>(frameStride) * kRows);
    for (uint32_t& p : frame) p = static_cast<uint32_t>(std::rand()) & 0xFFFFFF;
    std::vector<uint32_t> laid = frame;
    compositeRows(laid.data(), static_cast<size_t>(frameStride), picture.data(),
                  static_cast<size_t>(pictureStride), width, kRows);
    for (int y = 0; y < kRows; ++y) {
      for (int x = 0; x < frameStride; ++x) {
        const auto at = static_cast<size_t>(y * frameStride + x);
        const uint32_t over = x < width ? picture[static_cast<size_t>(y * pictureStride + x)] : 0;
        ASSERT_EQ(laid[at], x < width ? one(frame[at], over) : frame[at])
            << std::hex << over << " over " << frame[at] << " at " << std::dec << x << ", " << y;
      }
    }
  }
}

TEST(PixelShapes, RectanglesCoverTheirAreaExactlyAndClip) {
  Canvas c(20, 20);
  paintRect(c.view, 2.25, 3.5, 9.75, 8.0, 0xFFFFFF, 256);
  EXPECT_NEAR(c.paintedArea(), 7.5 * 4.5, 0.1);  // to within 8-bit rounding
  EXPECT_EQ(c.view.at(5, 5), 0xFFFFFFu);         // inside, whole
  EXPECT_EQ(channel(c.view.at(2, 5), 0), 191);   // three quarters of the column

  Canvas clipped(20, 20);
  paintRect(clipped.view, -1e30, 15.5, 1e30, 1e30, 0xFFFFFF, 256);
  EXPECT_NEAR(clipped.paintedArea(), 20 * 4.5, 0.1);
  paintRect(clipped.view, 5, 5, 5, 9, 0xFFFFFF, 256);  // no width, no paint
  paintRect(clipped.view, 30, 30, 40, 40, 0xFFFFFF, 256);
  EXPECT_NEAR(clipped.paintedArea(), 20 * 4.5, 0.1);
}

TEST(PixelShapes, DiscsCoverTheirAreaAndTheCacheAgreesWithThem) {
  DiscMaskCache cache;
  for (const double r : {2.0, 3.3, 7.9, 20.0, 60.0}) {
    for (const double offset : {0.0, 0.3, 0.55, 0.9}) {
      Canvas direct(160, 160);
      paintDisc(direct.view, 80 + offset, 80 + offset / 2, r, 0xFFFFFF, 256);
      // The fade over one pixel adds a twelfth of a pixel to the area.
      EXPECT_NEAR(direct.paintedArea(), kPi * (r * r + 1.0 / 12), 0.02 * r + 0.3) << r << " " << offset;

      Canvas cached(160, 160);
      cache.paint(cached.view, 80 + offset, 80 + offset / 2, r, SpanPainter(0xFFFFFF, 256));
      // Its radius is rounded to a sixteenth of a pixel.
      EXPECT_NEAR(cached.paintedArea(), direct.paintedArea(), 2 * kPi * r / 32 + 0.4) << r << " " << offset;
      // Within an eighth of a pixel of where it should be, so no pixel is
      // far off.
      for (size_t i = 0; i < direct.pixels.size(); ++i) {
        ASSERT_LE(std::abs(channel(direct.pixels[i], 0) - channel(cached.pixels[i], 0)), 56) << r << " " << i;
      }
    }
  }
  // Half outside every border and far away: clipped, never out of bounds.
  Canvas small(10, 10);
  for (const double x : {-3.0, 5.0, 12.0, -1e9, 1e300}) {
    for (const double y : {-3.0, 5.0, 12.0, 1e9})
      cache.paint(small.view, x, y, 6.0, SpanPainter(0xFFFFFF, 128));
  }
  EXPECT_GT(small.paintedArea(), 0.0);
  EXPECT_GT(cache.bytes(), 0u);
}

}  // namespace
