#include <gtest/gtest.h>

#include "doubles/ScriptedApplication.h"
#include "draw/Animation.h"

namespace {

TEST(AnimationTest, RampPhaseAndTriangleFollowTheFrameClock) {
  EXPECT_NEAR(phaseOf(-0.25f, 0.0f, 1.0f), 0.75f, 1e-6f);  // wraps below the offset too
  EXPECT_NEAR(phaseOf(7.0f, 1.0f, 4.0f), 0.5f, 1e-6f);
  EXPECT_NEAR(triangleOf(2.25f, 0.0f, 1.0f), 0.5f, 1e-6f);

  // A late start, so "now" must be measured from the clock's start.
  ScriptedApplication app(4'000'000'000u);
  app.advanceSeconds(5.0f);
  EXPECT_EQ(rampIn(5.0f, 2.0f), 0.0f);
  app.advanceSeconds(2.5f);
  EXPECT_EQ(rampIn(5.0f, 2.0f), 1.0f);
  EXPECT_EQ(rampIn(7.499f, 0.0f), 1.0f);        // a zero duration jumps to 1 without dividing by zero
  EXPECT_NEAR(pulse(0.0f, 2.0f), 0.5f, 1e-4f);  // on the falling half
}

}  // namespace
