// The game's own maths functions against the C library's, for any two
// doubles (nan, infinities and subnormals included): within their stated
// ulps where they promise accuracy, and sound everywhere (sin and cos in
// [-1, 1], NaN only where the C library gives NaN). Each 16 bytes are two
// doubles x and y; the first 8 are also two floats for length().

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "FuzzFile.h"
#include "world/Geometry.h"
#include "world/Maths.h"

namespace {

int64_t ordered(double d) {
  int64_t i = 0;
  std::memcpy(&i, &d, sizeof i);
  return i < 0 ? INT64_MIN - i : i;
}

// Within n ulps, or both NaN.
bool near(double ours, double theirs, double n) {
  if (std::isnan(ours) || std::isnan(theirs)) return std::isnan(ours) && std::isnan(theirs);
  const int64_t a = ordered(ours);
  const int64_t b = ordered(theirs);
  const uint64_t apart = a > b ? static_cast<uint64_t>(a) - static_cast<uint64_t>(b)
                               : static_cast<uint64_t>(b) - static_cast<uint64_t>(a);
  return static_cast<double>(apart) <= n;
}

void checkAngle(double x) {
  const double s = maths::sin(x);
  const double c = maths::cos(x);
  FUZZ_CHECK(std::isnan(s) == !std::isfinite(x) && std::isnan(c) == !std::isfinite(x));
  FUZZ_CHECK(!(std::fabs(s) > 1.0) && !(std::fabs(c) > 1.0));
  if (std::fabs(x) < 8e5) FUZZ_CHECK(near(s, std::sin(x), 1) && near(c, std::cos(x), 1));
}

void checkPair(double x, double y) {
  // The ratio's rounding and atan's own error can add up to two ulps.
  FUZZ_CHECK(near(maths::atan2(y, x), std::atan2(y, x), 2));
  FUZZ_CHECK(near(maths::hypot(x, y), std::hypot(x, y), 2));
  const double p = maths::pow(x, y);
  const double want = std::pow(x, y);
  const double scale = std::fabs(y * std::log(std::fabs(x)));
  // Away from the ends of the exponent range, where both round into
  // subnormals or infinity their own way.
  if (scale < 30.0 && !(std::fabs(want) < 1e-290) && !(std::fabs(want) > 1e290)) {
    FUZZ_CHECK(near(p, want, y == std::floor(y) && std::fabs(y) <= 8.0 ? 8.0 : 2.0 * (1.0 + scale)));
  }
  FUZZ_CHECK(std::isnan(p) == std::isnan(want));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (size_t at = 0; at + 16 <= size; at += 16) {
    double x = 0.0;
    double y = 0.0;
    std::memcpy(&x, data + at, 8);
    std::memcpy(&y, data + at + 8, 8);
    // glibc answers signalling NaNs by IEEE's rule (pow(sNaN, 0) and
    // hypot(inf, sNaN) are NaN), C's rule for quiet ones; the game has none.
    if (std::isnan(x)) x = std::numeric_limits<double>::quiet_NaN();
    if (std::isnan(y)) y = std::numeric_limits<double>::quiet_NaN();
    checkAngle(x);
    checkPair(x, y);
    checkPair(y, x);

    float dx = 0.0f;
    float dy = 0.0f;
    std::memcpy(&dx, data + at, 4);
    std::memcpy(&dy, data + at + 4, 4);
    const float want = static_cast<float>(std::hypot(static_cast<double>(dx), static_cast<double>(dy)));
    const float got = length(dx, dy);
    FUZZ_CHECK(got == want || std::nextafter(want, got) == got || (std::isnan(got) && std::isnan(want)));
  }
  return 0;
}
