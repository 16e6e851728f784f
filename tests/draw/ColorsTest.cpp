#include <gtest/gtest.h>

#include "draw/Colors.h"

namespace {

void expectColor(const Color3& actual, const Color3& expected) {
  EXPECT_FLOAT_EQ(actual.r, expected.r);
  EXPECT_FLOAT_EQ(actual.g, expected.g);
  EXPECT_FLOAT_EQ(actual.b, expected.b);
}

TEST(Colors, DerivedShadesAndTints) {
  expectColor(kLightRed, kPink);
  expectColor(kLightBlue, {0.5f, 0.5f, 1.0f});
  expectColor(mix(kBlue, kWhite, 0.5f), kLightBlue);
  expectColor(mix(kRed, kWhite, 0.5f), kLightRed);
  expectColor(mix(kWhite, kBlack, 0.25f), {0.75f, 0.75f, 0.75f});
  expectColor(mix(kWhite, kOrange, 0.7f), {1.0f, 0.65f, 0.3f});
  expectColor(mix(kWhite, kOrange, 0.25f), {1.0f, 0.875f, 0.75f});
}

TEST(Colors, AddAndSubtractWriteIntoTheResultAndChain) {
  Color3 sum;
  Color3 difference;
  Color3& chained = subtract(add(kBrown, kGrey, sum), kBrown, difference);
  EXPECT_EQ(&chained, &difference);
  expectColor(sum, {0.75f, 0.5f, 0.3125f});
  expectColor(difference, kGrey);
  expectColor(scale(kBrown, 2.0f), {1.0f, 0.5f, 0.125f});
}

}  // namespace
