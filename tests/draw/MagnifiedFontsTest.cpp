#include <gtest/gtest.h>

#include <limits>

#include "draw/BuiltInFonts.h"
#include "draw/MagnifiedFonts.h"

namespace {

TEST(MagnifiedFonts, EachPixelBecomesABlockOfTheNearestWholeFactorAndBelowOneAndAHalfNothingChanges) {
  const BitmapFontSet& fonts = builtInFonts();
  ASSERT_FALSE(fonts.empty());
  const BitmapGlyph& a = fonts[0].glyphs['A'];
  ASSERT_GT(a.width * a.height, 0);

  const BitmapFontSet two = magnifyFonts(fonts, 2.25);
  ASSERT_EQ(two.size(), fonts.size());
  const BitmapGlyph& big = two[0].glyphs['A'];
  EXPECT_EQ(two[0].font, fonts[0].font);
  EXPECT_EQ(big.advance, 2 * a.advance);
  EXPECT_EQ(big.left, 2 * a.left);
  EXPECT_EQ(big.bottom, 2 * a.bottom);
  ASSERT_EQ(big.width, 2 * a.width);
  ASSERT_EQ(big.height, 2 * a.height);
  for (int row = 0; row < big.height; ++row) {
    for (int column = 0; column < big.width; ++column) {
      ASSERT_EQ(big.isLit(column, row), a.isLit(column / 2, row / 2)) << column << "," << row;
    }
  }

  EXPECT_EQ(magnifyFonts(fonts, 3.4)[0].glyphs['A'].width, 3 * a.width);
  for (double scale : {1.0, 1.25, 0.5, -2.0, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(magnifyFonts(fonts, scale)[0].glyphs['A'].lit, a.lit) << scale;
  }
}

}  // namespace
