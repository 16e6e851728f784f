#pragma once

#include <cstdint>

// The game's own random generator: a linear congruential generator with the
// classic 0..32767 range, so every formula that scales by 1/32767 sees the
// values it was balanced for on any platform.
class RandomGenerator {
 public:
  static constexpr int kMax = 32767;

  explicit RandomGenerator(uint32_t seed = 1) : state_(seed) {}

  void seed(uint32_t seed) { state_ = seed; }
  int next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 32767u);
  }
  uint32_t state() const { return state_; }

 private:
  uint32_t state_;
};

// 1/32767 as a 32-bit float: scales a draw to [0, 1], both ends included.
constexpr float kRandomScale = 3.0518509e-05f;

// The process-wide generator that the simulation draws from.
void seedRandom(uint32_t seed);
int nextRandom();
RandomGenerator& processRandom();
