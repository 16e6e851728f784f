#include "draw/Animation.h"

#include <cmath>

#include "app/FrameClock.h"

float rampIn(float start, float duration) {
  const float now = FrameClock::seconds();
  if (now <= start) return 0.0f;
  if (now > start + duration) return 1.0f;
  return (now - start) / duration;
}

float phaseOf(float t, float t0, float p) {
  const float e = t - t0;
  return (e - p * std::floor(e / p)) * (1.0f / p);
}

float phase(float t0, float p) {
  return phaseOf(FrameClock::seconds(), t0, p);
}

float triangleOf(float t, float t0, float p) {
  const float q = phaseOf(t, t0, p);
  return q < 0.5f ? 2.0f * q : 2.0f * (1.0f - q);
}

float pulse(float t0, float p) {
  return triangleOf(FrameClock::seconds(), t0, p);
}
