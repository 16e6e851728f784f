#pragma once

#include <gtest/gtest.h>

#include "support/HeadlessGame.h"

// A headless game with nothing in its world, for tests that build the exact
// scene they need. Each suite names it with an alias.
class EmptyWorld : public ::testing::Test {
 protected:
  EmptyWorld() { clearWorld(g); }

  HeadlessGame h;
  Game& g = h.game();
};
