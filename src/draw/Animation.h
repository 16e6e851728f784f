#pragma once

// Animation values read straight from the frame clock at each call.

// 0 until start, then rising linearly to 1 over duration seconds.
float rampIn(float start, float duration);
// Saw-tooth in [0, 1) of time t with offset t0 and period p.
float phaseOf(float t, float t0, float p);
float phase(float t0, float p);
// Triangle wave: 0 up to 1 and back to 0 once per period.
float triangleOf(float t, float t0, float p);
float pulse(float t0, float p);
// 3q^2 - 2q^3, how callers soften a pulse.
inline float smoothStep(float q) {
  return q * q * (3.0f - 2.0f * q);
}
