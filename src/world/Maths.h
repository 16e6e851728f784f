#pragma once

// The game's own sine, cosine, arc tangent, hypotenuse and power. The C
// libraries the game is built with round these differently in the last bit,
// while the simulation and the software renderer's frames must come out the
// same bits on every platform. These use only +, -, *, / and sqrt (which
// IEEE arithmetic rounds the same everywhere), floor, fmod and bit
// manipulation. They are not correctly rounded, but within an ulp of it over
// the ranges noted (pow less so), and identical everywhere. The rest of
// src/ calls these instead of <cmath>'s (a unit test checks).
//
// The float overloads work in double and round once, so a float caller gets
// the same answer as a double one rounded to float.
namespace maths {

// Radians. Within an ulp for |x| < 2^19 quarter turns (about 820,000); a
// farther angle is first brought back by an exact remainder of the double
// nearest 2pi, which loses accuracy but not sameness. Infinity and NaN give
// NaN.
double sin(double x);
double cos(double x);
inline float sin(float x) {
  return static_cast<float>(sin(static_cast<double>(x)));
}
inline float cos(float x) {
  return static_cast<float>(cos(static_cast<double>(x)));
}

// Both at once, for the price of one reduction: the same values as sin and
// cos.
struct SinCos {
  double sin;
  double cos;
};
SinCos sinCos(double x);

// The angle of (x, y) from +x toward +y, in [-pi, pi], with the C library's
// answers for zeros (atan2(+-0, -0) is +-pi), infinities and NaN.
double atan2(double y, double x);
inline float atan2(float y, float x) {
  return static_cast<float>(atan2(static_cast<double>(y), static_cast<double>(x)));
}

// sqrt(x^2 + y^2), without overflow or underflow on the way; infinite if
// either is. The float one squares exactly in double and rounds once.
double hypot(double x, double y);
float hypot(float x, float y);

// x to the power y, with C's answers for the special cases (0, 1,
// infinities, NaN, a negative x with a non-integer y). Less accurate than
// the others: an integer y up to 8 (the zoom's) is worked out by
// multiplication, exact where every step is and within 8 ulp; any other y
// as exp(y log x), within about 2 (1 + |y log x|) ulp (a few for the work
// rate's 0.7th powers of fractions).
double pow(double x, double y);

}  // namespace maths
