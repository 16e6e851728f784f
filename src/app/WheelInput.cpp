#include "app/WheelInput.h"

void WheelInput::add(int notches) {
  pending_ += notches;
}

int WheelInput::read() {
  const int motion = pending_;
  pending_ = 0;
  return (motion > 0) - (motion < 0);
}
