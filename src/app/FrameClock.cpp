#include "app/FrameClock.h"

#include "app/MillisecondClock.h"

namespace {
bool started = false;
uint32_t base = 0;
}  // namespace

namespace FrameClock {

void start() {
  if (started) return;
  started = true;
  base = millisecondsNow();
}

bool isStarted() {
  return started;
}

float seconds() {
  // The unsigned difference survives the 49-day wrap of the count.
  const int32_t elapsed = static_cast<int32_t>(millisecondsNow() - base);
  return static_cast<float>(elapsed) * 0.001f;
}

uint32_t baseMilliseconds() {
  return base;
}

void resetForTesting() {
  started = false;
  base = 0;
}

}  // namespace FrameClock
