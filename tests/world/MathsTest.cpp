#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <limits>
#include <regex>
#include <string>

#include "world/Maths.h"

// The C library is the yardstick here, within a stated number of ulps; the
// pinned bit patterns are what every platform's build must reproduce.

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

uint64_t bitsOf(double d) {
  uint64_t u = 0;
  std::memcpy(&u, &d, sizeof u);
  return u;
}

// Distance in representable doubles; NaN is at none from NaN.
int64_t ulpsApart(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) ? 0 : INT64_MAX;
  const auto ordered = [](double d) {
    const auto i = static_cast<int64_t>(bitsOf(d));
    return i < 0 ? INT64_MIN - i : i;
  };
  const int64_t x = ordered(a);
  const int64_t y = ordered(b);
  const uint64_t apart = x > y ? static_cast<uint64_t>(x) - static_cast<uint64_t>(y)
                               : static_cast<uint64_t>(y) - static_cast<uint64_t>(x);
  return apart > INT64_MAX ? INT64_MAX : static_cast<int64_t>(apart);
}

// What the header promises for a y that is not a small integer.
int64_t powerTolerance(double x, double y) {
  return static_cast<int64_t>(2.0 * (1.0 + std::fabs(y * std::log(x))));
}

#define EXPECT_ULPS(ours, theirs, tolerance) \
  EXPECT_LE(ulpsApart(ours, theirs), tolerance) << #ours << " = " << (ours) << ", C library: " << (theirs)

#define EXPECT_SAME_BITS(ours, theirs) EXPECT_EQ(bitsOf(ours), bitsOf(theirs)) << #ours

// Every pairing of the values within the given ulps of the C library, with
// its signs (of zeros too), NaN where it gives NaN.
template <typename Ours, typename Theirs>
void expectSameSpecialCases(Ours ours, Theirs theirs, int64_t ulps, std::initializer_list<double> values) {
  for (const double a : values) {
    for (const double b : values) {
      const double got = ours(a, b);
      const double want = theirs(a, b);
      EXPECT_LE(ulpsApart(got, want), ulps) << a << ", " << b;
      if (!std::isnan(want)) {
        EXPECT_EQ(std::signbit(got), std::signbit(want)) << a << ", " << b;
      }
    }
  }
}

TEST(Maths, SineAndCosineAreWithinAnUlpOfTheCLibraryAndSymmetric) {
  // Headings grow without bound as agents turn, so well beyond a turn.
  for (double x = -1000.0; x <= 1000.0; x += 0.0173) {
    EXPECT_ULPS(maths::sin(x), std::sin(x), 1);
    EXPECT_ULPS(maths::cos(x), std::cos(x), 1);
    ASSERT_EQ(maths::sin(-x), -maths::sin(x));
    ASSERT_EQ(maths::cos(-x), maths::cos(x));
    const maths::SinCos both = maths::sinCos(x);
    ASSERT_TRUE(bitsOf(both.sin) == bitsOf(maths::sin(x)) && bitsOf(both.cos) == bitsOf(maths::cos(x))) << x;
  }
  // The double nearest a multiple of pi/2 below 2^20 (2^-54 from it), where
  // the reduction cancels most.
  EXPECT_ULPS(maths::cos(0x1.39c6fd67805a7p+18), std::cos(0x1.39c6fd67805a7p+18), 0);
  // Far beyond, only sanity: bounded, and NaN for what has no angle.
  EXPECT_LE(std::fabs(maths::sin(3.0e30)), 1.0);
  EXPECT_LE(std::fabs(maths::cos(-1.7e308)), 1.0);
  EXPECT_TRUE(std::isnan(maths::sin(kInf)) && std::isnan(maths::cos(-kInf)) && std::isnan(maths::sin(kNaN)));

  EXPECT_SAME_BITS(maths::sin(-0.0), -0.0);
  EXPECT_EQ(maths::cos(-0.0f), 1.0f);
  // The float quarter and half turns the game uses land on the axes.
  EXPECT_EQ(maths::sin(1.5707964f), 1.0f);
  EXPECT_EQ(maths::cos(3.1415927f), -1.0f);
}

TEST(Maths, ArcTangentKeepsQuadrantsSignsAndTheCLibrarysSpecialCases) {
  expectSameSpecialCases([](double y, double x) { return maths::atan2(y, x); },
                         [](double y, double x) { return std::atan2(y, x); }, 0,
                         {0.0, -0.0, 1.0, -1.0, kInf, -kInf, kNaN});
  // Around the circle, at every scale, with ratios that overflow.
  for (double a = -3.14159; a < 3.1416; a += 0.00731) {
    for (const double r : {1e-300, 1e-5, 1.0, 3e4, 1e300}) {
      EXPECT_ULPS(maths::atan2(r * std::sin(a), r * std::cos(a)),
                  std::atan2(r * std::sin(a), r * std::cos(a)), 1);
    }
  }
  EXPECT_ULPS(maths::atan2(1e-300, -1e300), std::atan2(1e-300, -1e300), 0);
  EXPECT_EQ(maths::atan2(-0.0f, -1.0f), -3.1415927f);  // the seam angleBetween relies on
}

TEST(Maths, HypotenuseNeitherOverflowsNorUnderflows) {
  for (const double scale : {1e-310, 1e-200, 1.0, 7e150, 1e300}) {
    for (double t = 0.0; t < 50.0; t += 0.37) {
      EXPECT_ULPS(maths::hypot(scale * t, scale * (3.0 - 0.1 * t)),
                  std::hypot(scale * t, scale * (3.0 - 0.1 * t)), 1);
    }
  }
  EXPECT_EQ(maths::hypot(1e308, 1.0), 1e308);
  EXPECT_EQ(maths::hypot(kNaN, -kInf), kInf);
  EXPECT_TRUE(std::isnan(maths::hypot(kNaN, 1.0)));
  EXPECT_EQ(maths::hypot(-3e30f, 4e30f), 5e30f);
  EXPECT_EQ(maths::hypot(std::nanf(""), -std::numeric_limits<float>::infinity()),
            std::numeric_limits<float>::infinity());
}

TEST(Maths, PowerOverTheGamesRangesAndCsSpecialCases) {
  // The zoom: whole powers of the float 1.2.
  for (int n = -8; n <= 8; ++n)
    EXPECT_ULPS(maths::pow(1.2000000476837158, n), std::pow(1.2000000476837158, n), 1);
  // The work rate: a building's fill to the 0.7th.
  for (int places = 1; places <= 40; ++places) {
    for (int in = 1; in <= places; ++in) {
      const double fill = static_cast<float>(in) / static_cast<float>(places);
      EXPECT_ULPS(maths::pow(fill, 0.7), std::pow(fill, 0.7), powerTolerance(fill, 0.7));
    }
  }
  expectSameSpecialCases([](double x, double y) { return maths::pow(x, y); },
                         [](double x, double y) { return std::pow(x, y); }, 1,
                         {0.0, -0.0, 1.0, -1.0, 0.5, -2.0, 3.0, -7.0, -0.5, kInf, -kInf, kNaN});
  EXPECT_SAME_BITS(maths::pow(-0.0, 101.0), -0.0);
  EXPECT_LT(maths::pow(-2.0, 61.0), -2e18);  // odd powers beyond the multiplied ones keep the sign
  EXPECT_EQ(maths::pow(10.0, 400.0), kInf);
  EXPECT_EQ(maths::pow(2.0, -1074.0), std::pow(2.0, -1074.0));
}

TEST(Maths, PinnedBitsEveryPlatformMustReproduce) {
  EXPECT_EQ(bitsOf(maths::sin(1.0)), 0x3feaed548f090ceeu);
  EXPECT_EQ(bitsOf(maths::cos(2.5)), 0xbfe9a2f7ef858b7du);
  EXPECT_EQ(bitsOf(maths::sin(1e5)), 0x3fa24daa9c527e96u);
  EXPECT_EQ(bitsOf(maths::cos(3e6)), 0x3fde93a150566281u);  // beyond the accurate range
  EXPECT_EQ(bitsOf(maths::atan2(3.0, -4.0)), 0x4003fc176b7a8560u);
  EXPECT_EQ(bitsOf(maths::atan2(-1e-3, 0.8)), 0xbf547ae094b92372u);
  EXPECT_EQ(bitsOf(maths::hypot(0.1, 0.7)), 0x3fe6a09e667f3bccu);
  EXPECT_EQ(bitsOf(maths::pow(0.6, 0.7)), 0x3fe6613966362a65u);
  EXPECT_EQ(bitsOf(maths::pow(1.2000000476837158, 8)), 0x401133039352ae77u);
}

// Nothing the game runs may call the C library's transcendental functions:
// they round differently on each platform. fabs, sqrt, floor, fmod and the
// like are exact and stay.
TEST(Maths, NoOtherCodeCallsTheCLibrarysTranscendentalFunctions) {
  const std::regex call(
      R"((^|[^\w:.>])(std::|::)?(sin|cos|tan|asin|acos|atan|atan2|sinh|cosh|tanh|asinh|acosh|atanh|exp|exp2|)"
      R"(expm1|log|log2|log10|log1p|logb|pow|hypot|cbrt|erf|erfc|lgamma|tgamma|sincos)[fl]?\s*\()");
  namespace fs = std::filesystem;
  int files = 0;
  for (const char* folder : {"src", "tools"}) {
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(VERLOMBA_SOURCE_DIR) / folder)) {
      const fs::path& path = entry.path();
      if (!entry.is_regular_file() || path.filename() == "Maths.h" || path.filename() == "Maths.cpp")
        continue;
      const std::string ext = path.extension().string();
      if (ext != ".cpp" && ext != ".h" && ext != ".in") continue;
      ++files;
      std::ifstream in(path);
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        const std::string code = line.substr(0, line.find("//"));
        // std::regex is slow under the sanitizers: only lines naming a stem.
        bool named = false;
        for (const char* stem : {"sin", "cos", "tan", "exp", "log", "pow", "hypot", "cbrt", "erf", "gamma"})
          named = named || code.find(stem) != std::string::npos;
        if (!named) continue;
        EXPECT_FALSE(std::regex_search(code, call)) << path.string() << ":" << number << ": " << line;
      }
    }
  }
  EXPECT_GT(files, 50);
}

}  // namespace
