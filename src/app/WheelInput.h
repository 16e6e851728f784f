#pragma once

// The mouse wheel as the game reads it: notches are added as the window
// system reports them, and a read reports only the direction of the motion
// since the previous read.
class WheelInput {
 public:
  // +1 per notch up (away from the user), -1 per notch down.
  void add(int notches);
  // -1, 0 or +1; consumes everything seen so far.
  int read();
  void clear() { pending_ = 0; }

 private:
  int pending_ = 0;
};
