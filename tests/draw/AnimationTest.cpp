#include <gtest/gtest.h>

#include "app/FrameClock.h"
#include "app/MillisecondClock.h"
#include "draw/Animation.h"

namespace {

// The frame clock starts at a non-zero count so the tests also check that
// "now" is measured from the clock's start.
class AnimationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setMillisecondSource(&clock);
    FrameClock::resetForTesting();
    FrameClock::start();
  }
  void TearDown() override {
    FrameClock::resetForTesting();
    setMillisecondSource(nullptr);
  }
  void at(float seconds) { clock.set(kStart + static_cast<uint32_t>(seconds * 1000.0f + 0.5f)); }

  static constexpr uint32_t kStart = 4'000'000'000u;
  ManualMilliseconds clock{kStart};
};

TEST_F(AnimationTest, RampInRisesOverItsDuration) {
  at(5.0f);
  EXPECT_EQ(rampIn(5.0f, 2.0f), 0.0f);
  at(6.0f);
  EXPECT_NEAR(rampIn(5.0f, 2.0f), 0.5f, 1e-5f);
  at(7.5f);
  EXPECT_EQ(rampIn(5.0f, 2.0f), 1.0f);
  // A zero duration jumps straight to 1 without dividing by zero.
  at(5.001f);
  EXPECT_EQ(rampIn(5.0f, 0.0f), 1.0f);
}

TEST_F(AnimationTest, PhaseAndTriangleWaves) {
  EXPECT_NEAR(phaseOf(2.5f, 0.0f, 1.0f), 0.5f, 1e-6f);
  EXPECT_NEAR(phaseOf(-0.25f, 0.0f, 1.0f), 0.75f, 1e-6f);
  EXPECT_NEAR(phaseOf(7.0f, 1.0f, 4.0f), 0.5f, 1e-6f);
  EXPECT_NEAR(triangleOf(2.25f, 0.0f, 1.0f), 0.5f, 1e-6f);
  EXPECT_NEAR(triangleOf(2.75f, 0.0f, 1.0f), 0.5f, 1e-6f);
  EXPECT_NEAR(triangleOf(2.5f, 0.0f, 1.0f), 1.0f, 1e-6f);
  EXPECT_NEAR(triangleOf(3.0f, 0.0f, 1.0f), 0.0f, 1e-6f);

  at(2.25f);
  EXPECT_NEAR(phase(0.0f, 1.0f), 0.25f, 1e-4f);
  EXPECT_NEAR(pulse(0.0f, 1.0f), 0.5f, 1e-4f);
  EXPECT_NEAR(pulse(0.25f, 2.0f), 0.0f, 1e-4f);
}

}  // namespace
