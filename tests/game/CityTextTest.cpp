#include <gtest/gtest.h>

#include <charconv>
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
  for (int i = 0; i < 200000; ++i) {
    const uint32_t bits = random();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    if (std::isfinite(f)) check(f);
  }
  for (float f : {0.0f, -0.0f, 1.0f, 0.1f, 0.25f, 400.0f, 1e-7f, 123456792.0f, 3.4028235e38f, 1e-45f})
    check(f);
}

}  // namespace
