#include <gtest/gtest.h>

#include "draw/Colors.h"

namespace {

void expectColor(const Color3& actual, const Color3& expected) {
  EXPECT_FLOAT_EQ(actual.r, expected.r);
  EXPECT_FLOAT_EQ(actual.g, expected.g);
  EXPECT_FLOAT_EQ(actual.b, expected.b);
}

// The light shades are made at compile time, apart from mix(), which is
// built on add, subtract and scale: they must agree.
TEST(Colors, CompileTimeShadesAgreeWithMix) {
  expectColor(mix(kBlue, kWhite, 0.5f), kLightBlue);
  expectColor(mix(kRed, kWhite, 0.5f), kLightRed);
}

}  // namespace
