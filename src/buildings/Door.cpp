#include "buildings/Door.h"

#include "app/FrameClock.h"
#include "draw/Animation.h"

void Door::moveBy(float dx, float dy) {
  end1.x += dx;
  end1.y += dy;
  end2.x += dx;
  end2.y += dy;
}

float DoorSwing::openness() const {
  const float p = rampIn(moveStart, moveDuration);
  return openFrom + (3.0f * p * p - 2.0f * p * p * p) * (openTo - openFrom);
}

void DoorSwing::setOpen(bool open) {
  if (open == (openTo == 1.0f)) return;
  openFrom = openness();
  openTo = open ? 1.0f : 0.0f;
  moveStart = FrameClock::seconds();
  moveDuration = kDuration;
}
