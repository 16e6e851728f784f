#pragma once

#include <cstdint>

// Seconds since the first application was built, as a 32-bit float. Every
// duration in seconds in the game is on this clock.
namespace FrameClock {

// Captures the base the first time; later calls do nothing.
void start();
bool isStarted();
// (now - base) as a signed 32-bit count, times the float 0.001.
float seconds();
uint32_t baseMilliseconds();
// Forgets the base so a test can start the clock afresh.
void resetForTesting();

}  // namespace FrameClock
