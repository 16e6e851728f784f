#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "game/CityWriter.h"

namespace {

// The city file's floats are written the same with every C++ library: as
// the desktop's std::to_chars writes them, shortest and round-tripping.
TEST(CityText, FloatsAreWrittenAsToCharsWritesThem) {
  std::mt19937 random(7);
  auto check = [](float f) {
    char buf[32];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, f);
    ASSERT_EQ(shortestDecimal(f), std::string(buf, r.ptr)) << f;
  };
  auto fromBits = [](uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  };
  for (int i = 0; i < 200000; ++i) {
    const float f = fromBits(random());
    if (std::isfinite(f)) check(f);
  }
  // The city's own range, where the exact integer path writes them, and
  // the neighbours of powers of ten and two, where rounding turns.
  std::uniform_real_distribution<float> field(-1000.0f, 1000.0f);
  for (int i = 0; i < 200000; ++i) check(field(random));
  for (float p = 1e-12f; p < 1e12f; p *= 10.0f) {
    uint32_t bits;
    std::memcpy(&bits, &p, sizeof bits);
    for (uint32_t d = 0; d < 200; ++d) check(fromBits(bits - 100 + d));
  }
  for (int k = -40; k <= 40; ++k) {
    uint32_t bits = static_cast<uint32_t>(127 + k) << 23;
    for (uint32_t d = 0; d < 20; ++d) check(fromBits(bits - 10 + d));
  }
  for (float f : {0.0f, -0.0f, 1.0f, 0.1f, 0.25f, 400.0f, 1e-7f, 123456792.0f, 3.4028235e38f, 1e-45f})
    check(f);
}

}  // namespace
