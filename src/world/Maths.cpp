#include "world/Maths.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

// Every step below must round as plain IEEE double does: no wider
// intermediates (x87), and no fused multiply-adds (the build turns
// contraction off).
static_assert(FLT_EVAL_METHOD == 0, "the game's maths needs double arithmetic without excess precision");
static_assert(std::numeric_limits<double>::is_iec559, "the game's maths needs IEEE doubles");

// The polynomials are the well-known minimax ones of Sun's fdlibm (freely
// redistributable), which most C libraries started from; the reduction and
// special cases are written for the game's uses.

namespace maths {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kPi = 0x1.921fb54442d18p+1;
constexpr double kPiLow = 0x1.1a62633145c07p-53;  // pi - kPi
constexpr double kHalfPi = 0x1.921fb54442d18p+0;
constexpr double kQuarterPi = 0x1.921fb54442d18p-1;
constexpr double kThreeQuarterPi = 0x1.2d97c7f3321d2p+1;

// --- sin and cos ------------------------------------------------------------

constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
// pi/2 in four parts; the first three have 33 bits, so their products with
// a quadrant count below 2^20 are exact. Together they hold pi/2 to 152
// bits: enough for the doubles nearest a multiple of pi/2 in the range.
constexpr double kHalfPi1 = 0x1.921fb544p+0;
constexpr double kHalfPi2 = 0x1.0b4611a6p-34;
constexpr double kHalfPi3 = 0x1.3198a2ep-69;
constexpr double kHalfPi4 = 0x1.b839a252049c1p-104;
constexpr double kNearAngle = 0x1p19 * kHalfPi;
constexpr double kTwoPi = 0x1.921fb54442d18p+2;

// x = quadrant * pi/2 + (hi + lo), |hi + lo| <= pi/4 or a little more.
struct Reduced {
  unsigned quadrant;
  double hi;
  double lo;
};

// The integer nearest x (ties to even), for |x| < 2^51: adding 1.5 * 2^52
// leaves no bits below the units. Cheaper than floor, which is a library
// call where the processor lacks a rounding instruction.
double nearestInteger(double x) {
  constexpr double kShift = 0x1.8p52;
  return (x + kShift) - kShift;
}

// a + b = sum + error exactly (Knuth).
double twoSum(double a, double b, double& error) {
  const double sum = a + b;
  const double back = sum - a;
  error = (a - (sum - back)) + (b - back);
  return sum;
}

Reduced reduce(double x) {
  if (std::fabs(x) <= kQuarterPi) return {0, x, 0.0};
  if (!(std::fabs(x) < kNearAngle)) x = std::fmod(x, kTwoPi);
  const double n = nearestInteger(x * kTwoOverPi);
  // x - n pi/2 as an exact sum of doubles, largest parts first.
  const double r = x - n * kHalfPi1;  // exact: x is within pi/4 of n * pi/2
  double lo1 = 0.0;
  const double s1 = twoSum(r, -n * kHalfPi2, lo1);
  double lo2 = 0.0;
  const double s2 = twoSum(s1, -n * kHalfPi3, lo2);
  const double lo = (lo1 + lo2) - n * kHalfPi4;
  const double hi = s2 + lo;
  const auto quadrant = static_cast<unsigned>(static_cast<int64_t>(n) & 3);
  return {quadrant, hi, (s2 - hi) + lo};
}

// sin(x + y) for |x| <= pi/4, y a tail far below x's last bit.
double sinKernel(double x, double y) {
  constexpr double S1 = -0x1.5555555555549p-3;
  constexpr double S2 = 0x1.111111110f8a6p-7;
  constexpr double S3 = -0x1.a01a019c161d5p-13;
  constexpr double S4 = 0x1.71de357b1fe7dp-19;
  constexpr double S5 = -0x1.ae5e68a2b9cebp-26;
  constexpr double S6 = 0x1.5d93a5acfd57cp-33;
  const double z = x * x;
  const double w = z * z;
  const double r = S2 + z * (S3 + z * S4) + z * w * (S5 + z * S6);
  const double v = z * x;
  return x - ((z * (0.5 * y - v * r) - y) - v * S1);
}

// cos(x + y) for |x| <= pi/4.
double cosKernel(double x, double y) {
  constexpr double C1 = 0x1.555555555554cp-5;
  constexpr double C2 = -0x1.6c16c16c15177p-10;
  constexpr double C3 = 0x1.a01a019cb1590p-16;
  constexpr double C4 = -0x1.27e4f809c52adp-22;
  constexpr double C5 = 0x1.1ee9ebdb4b1c4p-29;
  constexpr double C6 = -0x1.8fae9be8838d4p-37;
  const double z = x * x;
  const double w = z * z;
  const double r = z * (C1 + z * (C2 + z * C3)) + w * w * (C4 + z * (C5 + z * C6));
  const double half = 0.5 * z;
  const double one = 1.0 - half;
  return one + (((1.0 - one) - half) + (z * r - x * y));
}

// --- atan -------------------------------------------------------------------

// atan(t) for t >= 0 (infinity included).
double atanOfRatio(double t) {
  constexpr double kAtanHigh[] = {0x1.dac670561bb4fp-2, 0x1.921fb54442d18p-1, 0x1.f730bd281f69bp-1,
                                  0x1.921fb54442d18p+0};
  constexpr double kAtanLow[] = {0x1.a2b7f222f65e2p-56, 0x1.1a62633145c07p-55, 0x1.007887af0cbbdp-56,
                                 0x1.1a62633145c07p-54};
  constexpr double T[] = {0x1.555555555550dp-2,  -0x1.999999998ebc4p-3, 0x1.24924920083ffp-3,
                          -0x1.c71c6fe231671p-4, 0x1.745cdc54c206ep-4,  -0x1.3b0f2af749a6dp-4,
                          0x1.10d66a0d03d51p-4,  -0x1.dde2d52defd9ap-5, 0x1.97b4b24760debp-5,
                          -0x1.2b4442c6a6c2fp-5, 0x1.0ad3ae322da11p-6};
  if (t >= 0x1p66) return kHalfPi;
  // Brought near 0 by atan(t) = atan(c) + atan((t - c) / (1 + t c)) for c
  // of 0.5, 1, 1.5 and infinity.
  int id = -1;
  if (t < 0.4375) {
    if (t < 0x1p-27) return t;
  } else if (t < 0.6875) {
    id = 0;
    t = (2.0 * t - 1.0) / (2.0 + t);
  } else if (t < 1.1875) {
    id = 1;
    t = (t - 1.0) / (t + 1.0);
  } else if (t < 2.4375) {
    id = 2;
    t = (t - 1.5) / (1.0 + 1.5 * t);
  } else {
    id = 3;
    t = -1.0 / t;
  }
  const double z = t * t;
  const double w = z * z;
  const double odd = z * (T[0] + w * (T[2] + w * (T[4] + w * (T[6] + w * (T[8] + w * T[10])))));
  const double even = w * (T[1] + w * (T[3] + w * (T[5] + w * (T[7] + w * T[9]))));
  if (id < 0) return t - t * (odd + even);
  return kAtanHigh[id] - ((t * (odd + even) - kAtanLow[id]) - t);
}

// --- exp and log, for pow ---------------------------------------------------

constexpr double kLn2High = 0x1.62e42feep-1;  // 32 bits: its products with exponents are exact
constexpr double kLn2Low = 0x1.a39ef35793c76p-33;
constexpr double kInvLn2 = 0x1.71547652b82fep+0;

// 2^k for a normal result, built from its bits.
double powerOfTwo(int k) {
  const uint64_t bits = static_cast<uint64_t>(k + 1023) << 52;
  double d = 0.0;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

double exp(double t) {
  if (t > 0x1.62e42fefa39efp+9) return kInfinity;
  if (t < -0x1.74910d52d3051p+9) return 0.0;
  if (std::fabs(t) < 0x1p-28) return 1.0 + t;
  constexpr double P1 = 0x1.555555555553ep-3;
  constexpr double P2 = -0x1.6c16c16bebd93p-9;
  constexpr double P3 = 0x1.1566aaf25de2cp-14;
  constexpr double P4 = -0x1.bbd41c5d26bf1p-20;
  constexpr double P5 = 0x1.6376972bea4d0p-25;
  const double k = nearestInteger(t * kInvLn2);
  const double hi = t - k * kLn2High;
  const double lo = k * kLn2Low;
  const double r = hi - lo;
  const double rr = r * r;
  const double c = r - rr * (P1 + rr * (P2 + rr * (P3 + rr * (P4 + rr * P5))));
  double y = 1.0 - ((lo - (r * c) / (2.0 - c)) - hi);
  int e = static_cast<int>(k);
  // Scaled in two steps where 2^e alone is not a normal double; the last
  // step rounds once into the subnormals.
  if (e > 1000) {
    y *= 0x1p1000;
    e -= 1000;
  } else if (e < -1000) {
    y *= 0x1p-1000;
    e += 1000;
  }
  return y * powerOfTwo(e);
}

// log(x) for finite x > 0.
double log(double x) {
  constexpr double L1 = 0x1.5555555555593p-1;
  constexpr double L2 = 0x1.999999997fa04p-2;
  constexpr double L3 = 0x1.2492494229359p-2;
  constexpr double L4 = 0x1.c71c51d8e78afp-3;
  constexpr double L5 = 0x1.7466496cb03dep-3;
  constexpr double L6 = 0x1.39a09d078c69fp-3;
  constexpr double L7 = 0x1.2f112df3e5244p-3;
  int k = 0;
  if (x < 0x1p-1022) {  // subnormal: make it normal first
    x *= 0x1p54;
    k -= 54;
  }
  // x = 2^k m with m in [sqrt(1/2), sqrt(2)).
  uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  k += static_cast<int>((bits >> 52) & 0x7ff) - 1023;
  bits = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1023} << 52);
  double m = 0.0;
  std::memcpy(&m, &bits, sizeof m);
  if (m > 0x1.6a09e667f3bcdp+0) {
    m *= 0.5;
    k += 1;
  }
  const double f = m - 1.0;
  const double s = f / (2.0 + f);
  const double z = s * s;
  const double w = z * z;
  const double r = z * (L1 + w * (L3 + w * (L5 + w * L7))) + w * (L2 + w * (L4 + w * L6));
  const double halfSquare = 0.5 * f * f;
  const double dk = k;
  return dk * kLn2High - ((halfSquare - (s * (halfSquare + r) + dk * kLn2Low)) - f);
}

// x^n by squaring; a negative n divides once at the end, which is more
// accurate than raising the rounded 1/x.
double integerPower(double x, int n) {
  double result = 1.0;
  for (int k = n < 0 ? -n : n;;) {
    if (k & 1) result *= x;
    k >>= 1;
    if (k == 0) break;
    x *= x;
  }
  return n < 0 ? 1.0 / result : result;
}

}  // namespace

double sin(double x) {
  if (!std::isfinite(x)) return x - x;
  if (std::fabs(x) < 0x1p-27) return x;  // keeps the sign of zero
  const Reduced r = reduce(x);
  switch (r.quadrant) {
    case 0:
      return sinKernel(r.hi, r.lo);
    case 1:
      return cosKernel(r.hi, r.lo);
    case 2:
      return -sinKernel(r.hi, r.lo);
    default:
      return -cosKernel(r.hi, r.lo);
  }
}

SinCos sinCos(double x) {
  if (!std::isfinite(x)) return {x - x, x - x};
  if (std::fabs(x) < 0x1p-27) return {x, 1.0};
  const Reduced r = reduce(x);
  const double s = sinKernel(r.hi, r.lo);
  const double c = cosKernel(r.hi, r.lo);
  switch (r.quadrant) {
    case 0:
      return {s, c};
    case 1:
      return {c, -s};
    case 2:
      return {-s, -c};
    default:
      return {-c, s};
  }
}

double cos(double x) {
  if (!std::isfinite(x)) return x - x;
  const Reduced r = reduce(x);
  switch (r.quadrant) {
    case 0:
      return cosKernel(r.hi, r.lo);
    case 1:
      return -sinKernel(r.hi, r.lo);
    case 2:
      return -cosKernel(r.hi, r.lo);
    default:
      return sinKernel(r.hi, r.lo);
  }
}

double atan2(double y, double x) {
  if (std::isnan(x) || std::isnan(y)) return x + y;
  const bool below = std::signbit(y);
  const bool behind = std::signbit(x);
  const auto withSign = [below](double a) { return below ? -a : a; };
  if (y == 0.0) return behind ? withSign(kPi) : y;
  if (x == 0.0 || std::isinf(y)) {
    if (!std::isinf(x)) return withSign(kHalfPi);
    return withSign(behind ? kThreeQuarterPi : kQuarterPi);
  }
  if (std::isinf(x)) return withSign(behind ? kPi : 0.0);
  // The ratio may overflow or underflow: atan takes both.
  const double z = atanOfRatio(std::fabs(y) / std::fabs(x));
  return withSign(behind ? kPi - (z - kPiLow) : z);
}

double hypot(double x, double y) {
  x = std::fabs(x);
  y = std::fabs(y);
  if (std::isinf(x) || std::isinf(y)) return kInfinity;
  if (std::isnan(x) || std::isnan(y)) return x + y;
  if (x < y) {
    const double t = x;
    x = y;
    y = t;
  }
  // y too small to show; also keeps the scaling below to ratios under 2^60.
  if (!(x <= y * 0x1p60)) return x;
  // Keep the squares inside the exponent range.
  double scale = 1.0;
  if (x > 0x1p500) {
    x *= 0x1p-600;
    y *= 0x1p-600;
    scale = 0x1p600;
  } else if (y < 0x1p-500) {
    x *= 0x1p600;
    y *= 0x1p600;
    scale = 0x1p-600;
  }
  return scale * std::sqrt(x * x + y * y);
}

float hypot(float x, float y) {
  if (std::isinf(x) || std::isinf(y)) return std::numeric_limits<float>::infinity();
  // Squares of floats are exact in double and cannot overflow it.
  const double dx = x;
  const double dy = y;
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

double pow(double x, double y) {
  if (y == 0.0 || x == 1.0) return 1.0;
  if (std::isnan(x) || std::isnan(y)) return x + y;
  if (std::isinf(y)) {
    const double size = std::fabs(x);
    if (size == 1.0) return 1.0;
    return (size > 1.0) == (y > 0.0) ? kInfinity : 0.0;
  }
  const bool integral = y == std::floor(y);
  if (integral && std::fabs(y) <= 8.0) return integerPower(x, static_cast<int>(y));
  double sign = 1.0;
  if (std::signbit(x)) {
    if (!integral && x != 0.0 && !std::isinf(x)) return std::numeric_limits<double>::quiet_NaN();
    if (integral && std::fmod(y, 2.0) != 0.0) sign = -1.0;
    x = -x;
  }
  if (x == 0.0) return sign * (y > 0.0 ? 0.0 : kInfinity);
  if (std::isinf(x)) return sign * (y > 0.0 ? kInfinity : 0.0);
  return sign * exp(y * log(x));
}

}  // namespace maths
