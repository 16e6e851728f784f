#include "app/FrameClock.h"

#include "app/MillisecondClock.h"

namespace {
bool started = false;
uint32_t base = 0;
// How far the game's time runs behind the real time.
int64_t lag = 0;
bool held = false;
int64_t heldAt = 0;

int64_t realMilliseconds() {
  // The unsigned difference survives the 49-day wrap of the count.
  return static_cast<uint32_t>(millisecondsNow() - base);
}
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

int64_t milliseconds() {
  if (held) return heldAt;
  const int64_t ms = realMilliseconds() - lag;
  return ms < kLatestMilliseconds ? ms : kLatestMilliseconds;
}

float seconds() {
  return static_cast<float>(milliseconds()) * 0.001f;
}

float realSeconds() {
  return static_cast<float>(realMilliseconds()) * 0.001f;
}

uint32_t baseMilliseconds() {
  return base;
}

void hold() {
  if (held) return;
  heldAt = milliseconds();
  held = true;
}

void release() {
  if (!held) return;
  held = false;
  setMilliseconds(heldAt);
}

bool isHeld() {
  return held;
}

void setMilliseconds(int64_t ms) {
  heldAt = ms < kLatestMilliseconds ? ms : kLatestMilliseconds;
  lag = realMilliseconds() - heldAt;
}

void resetForTesting() {
  started = false;
  base = 0;
  lag = 0;
  held = false;
  heldAt = 0;
}

}  // namespace FrameClock
