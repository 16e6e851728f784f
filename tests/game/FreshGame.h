#pragma once

#include <gtest/gtest.h>

#include "doubles/HeadlessGame.h"

// A game as it starts, without a window. Each suite names it with an alias.
class FreshGame : public ::testing::Test {
 protected:
  HeadlessGame h;
  Game& g = h.game();
};

// The same emptied, for tests that build the exact scene they need.
class EmptyWorld : public FreshGame {
 protected:
  EmptyWorld() { clearWorld(g); }
};
