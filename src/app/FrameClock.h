#pragma once

#include <cstdint>

// Seconds since the first application was built, as a 32-bit float. Every
// duration in seconds in the game is on this clock. The game's time can be
// held (a pause) and set (a loaded city goes on at its own time); the real
// time beside it never stops or jumps, and paces the frames and the clicks.
namespace FrameClock {

// Captures the base the first time; later calls do nothing.
void start();
bool isStarted();
// The game's time: its milliseconds as a signed 64-bit count, times the
// float 0.001. It adds up across the sessions of a saved city and stops at
// kLatestMilliseconds (104 days of play), where the float seconds have long
// lost their fractions, short of the largest time a city file holds (1e7 s)
// by more than any time the game sets ahead; it never wraps.
constexpr int64_t kLatestMilliseconds = 9000000000;
float seconds();
int64_t milliseconds();
// Time since the base, whatever the game's time does.
float realSeconds();
uint32_t baseMilliseconds();

// Stops the game's time where it is, until release() lets it go on from
// there; both are idempotent.
void hold();
void release();
bool isHeld();
// Makes the game's time read ms now (and, while held, until released).
void setMilliseconds(int64_t ms);

// Forgets the base so a test can start the clock afresh.
void resetForTesting();

}  // namespace FrameClock
