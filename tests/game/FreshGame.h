#pragma once

#include <gtest/gtest.h>

#include "support/HeadlessGame.h"

// A game as it starts, without a window. Each suite names it with an alias.
class FreshGame : public ::testing::Test {
 protected:
  HeadlessGame h;
  Game& g = h.game();
};
