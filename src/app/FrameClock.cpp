#include "app/FrameClock.h"

#include "app/MillisecondClock.h"

namespace {
bool started = false;
uint32_t base = 0;
// How far the game's time runs behind the real time.
int32_t lag = 0;
bool held = false;
int32_t heldAt = 0;

int32_t realMilliseconds() {
  // The unsigned difference survives the 49-day wrap of the count.
  return static_cast<int32_t>(millisecondsNow() - base);
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

int32_t milliseconds() {
  if (held) return heldAt;
  return static_cast<int32_t>(static_cast<uint32_t>(realMilliseconds()) - static_cast<uint32_t>(lag));
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

void setMilliseconds(int32_t ms) {
  heldAt = ms;
  lag = static_cast<int32_t>(static_cast<uint32_t>(realMilliseconds()) - static_cast<uint32_t>(ms));
}

void resetForTesting() {
  started = false;
  base = 0;
  lag = 0;
  held = false;
  heldAt = 0;
}

}  // namespace FrameClock
