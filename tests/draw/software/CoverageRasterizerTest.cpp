#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include "draw/software/CoverageRasterizer.h"

namespace {

struct P {
  double x;
  double y;
};

std::vector<float> coverageOf(int width, int height, const std::vector<P>& outline, double dx = 0,
                              double dy = 0) {
  CoverageRasterizer raster;
  raster.setSize(width, height);
  for (size_t i = 0; i < outline.size(); ++i) {
    const P& a = outline[i];
    const P& b = outline[(i + 1) % outline.size()];
    raster.addEdge(a.x + dx, a.y + dy, b.x + dx, b.y + dy);
  }
  return raster.takeCoverage();
}

double total(const std::vector<float>& coverage) {
  return std::accumulate(coverage.begin(), coverage.end(), 0.0);
}

// A w by h rectangle centred at (cx, cy), turned by angle.
std::vector<P> turnedRect(double cx, double cy, double w, double h, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  std::vector<P> corners;
  for (const auto& [u, v] : {std::pair{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}}) {
    corners.push_back({cx + u * c - v * s, cy + u * s + v * c});
  }
  return corners;
}

TEST(CoverageRasterizer, CoverageIsTheExactAreaAtAnyAngleAndEitherWinding) {
  for (double angle = 0.0; angle < 3.2; angle += 0.13) {
    for (const double w : {0.3, 1.0, 2.5, 17.0}) {
      std::vector<P> rect = turnedRect(32.3, 30.7, w, 21.0, angle);
      const std::vector<float> coverage = coverageOf(64, 64, rect);
      EXPECT_NEAR(total(coverage), w * 21.0, 1e-3 * w * 21.0) << "angle " << angle << " width " << w;
      for (float c : coverage) ASSERT_TRUE(c >= 0.0f && c <= 1.0f);
      std::reverse(rect.begin(), rect.end());
      EXPECT_NEAR(total(coverageOf(64, 64, rect)), w * 21.0, 1e-3 * w * 21.0);
    }
  }
}

TEST(CoverageRasterizer, ClippingAtEveryBorderKeepsWhatIsInside) {
  // The same shapes drawn into a window and into the middle of an image
  // three times as large: the window's pixels must agree with the middle.
  const int w = 40, h = 30;
  const std::vector<std::vector<P>> shapes = {
      turnedRect(0, 15, 30, 12, 0.4),      // over the left border
      turnedRect(40, 10, 25, 9, -0.9),     // the right
      turnedRect(20, 0, 8, 30, 1.2),       // the top
      turnedRect(22, 30, 50, 7, 0.2),      // the bottom
      turnedRect(0, 0, 20, 20, 0.7),       // a corner
      turnedRect(20, 15, 200, 150, 0.3),   // the whole window and beyond
      {{-100, -5}, {140, 12}, {-30, 60}},  // long edges crossing both sides
  };
  for (size_t i = 0; i < shapes.size(); ++i) {
    const std::vector<float> clipped = coverageOf(w, h, shapes[i]);
    const std::vector<float> large = coverageOf(3 * w, 3 * h, shapes[i], w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        ASSERT_NEAR(clipped[y * w + x], large[(y + h) * 3 * w + x + w], 1e-4)
            << "shape " << i << " at " << x << "," << y;
      }
    }
  }
}

TEST(CoverageRasterizer, DegenerateHugeAndNonFiniteEdgesAreHarmless) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // Zero area: a line there and back, a point, collinear points.
  EXPECT_EQ(total(coverageOf(16, 16, {{1, 1}, {9, 12}})), 0.0);
  EXPECT_EQ(total(coverageOf(16, 16, {{5, 5}, {5, 5}, {5, 5}})), 0.0);
  EXPECT_NEAR(total(coverageOf(16, 16, {{1, 1}, {4, 4}, {9, 9}})), 0.0, 1e-6);
  // Far outside on every side, and across the image from far away.
  for (const double far : {1e6, 1e30, 3.4e38, -1e30, -3.4e38}) {
    const std::vector<float> c = coverageOf(16, 16, {{far, far}, {far + 1, far}, {far, far + 1}});
    EXPECT_EQ(total(c), 0.0) << far;
  }
  const std::vector<float> across = coverageOf(16, 16, {{-3e38, 8}, {3e38, 8}, {3e38, 3e38}, {-3e38, 3e38}});
  EXPECT_NEAR(total(across), 16.0 * 8.0, 1e-3);
  // Edges that are not numbers add nothing, and spoil nothing else.
  CoverageRasterizer raster;
  raster.setSize(16, 16);
  raster.addEdge(nan, 1, 5, 5);
  raster.addEdge(1, inf, 5, 5);
  raster.addEdge(-inf, 0, inf, 16);
  EXPECT_EQ(total(raster.takeCoverage()), 0.0);
  raster.beginShape(nan, 0, 16, inf);  // a box that is not one draws nothing
  raster.addEdge(2, 2, 2, 9);
  raster.addEdge(9, 9, 9, 2);
  EXPECT_EQ(total(raster.takeCoverage()), 0.0);
}

}  // namespace
