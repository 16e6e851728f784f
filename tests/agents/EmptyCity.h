#pragma once

#include <gtest/gtest.h>

#include "doubles/HeadlessGame.h"
#include "world/Zone.h"

const Rect kCityArea{150.0f, 650.0f, 150.0f, 650.0f};

// A game emptied down to its play area, for tests that build the exact scene
// they need. The fence is fully open, so it pushes nobody.
class EmptyCity : public ::testing::Test {
 protected:
  EmptyCity() { clear(); }
  void clear() {
    clearWorld(g);
    g.zone = new Zone(g, kCityArea);
    g.zone->shownRect = g.zone->targetRect;
  }
  HeadlessGame h;
  Game& g = h.game();
};
