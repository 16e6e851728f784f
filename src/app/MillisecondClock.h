#pragma once

#include <cstdint>

// Source of the 32-bit millisecond count that every timed behaviour reads.
// The game uses a steady clock; tests install a clock they advance by hand.
class MillisecondSource {
 public:
  virtual ~MillisecondSource() = default;
  virtual uint32_t milliseconds() const = 0;
};

// A clock that only moves when told to.
class ManualMilliseconds : public MillisecondSource {
 public:
  explicit ManualMilliseconds(uint32_t start = 0) : now_(start) {}
  uint32_t milliseconds() const override { return now_; }
  void set(uint32_t ms) { now_ = ms; }
  void advance(uint32_t ms) { now_ += ms; }

 private:
  uint32_t now_;
};

// Current count of the installed source (the steady clock when none is).
uint32_t millisecondsNow();
// Installs a source; nullptr restores the steady clock. Not owned.
void setMillisecondSource(const MillisecondSource* source);
// The installed source, nullptr for the steady clock.
const MillisecondSource* millisecondSource();
