#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "draw/BuiltInFonts.h"
#include "draw/FontSets.h"

extern const unsigned char kScaledFontsData[];
extern const std::size_t kScaledFontsDataSize;

namespace {

TEST(FontSets, TheCompiledInFontsAreThereAtTheirScalesAndPickTheScaleOrTheTextSize) {
  const FontSets& sets = compiledInFontSets();
  ASSERT_EQ(sets.size(), 8u);
  const BitmapFontSet& one = builtInFonts();
  for (const auto& [hundredths, fonts] : sets) {
    ASSERT_EQ(fonts.size(), one.size()) << hundredths;
    // As wide as the fonts at 1, scaled, give or take a pixel a glyph.
    const int m = 'm';
    EXPECT_NEAR(fonts[0].glyphs[m].advance, one[0].glyphs[m].advance * hundredths / 100.0,
                1.0 + hundredths / 100.0)
        << hundredths;
  }
  EXPECT_EQ(scaleWithFonts(1.0, sets), 1.0);
  EXPECT_EQ(scaleWithFonts(1.4, sets), 1.25);
  EXPECT_EQ(scaleWithFonts(2.0, sets), 2.0);
  EXPECT_EQ(scaleWithFonts(0.9, sets), 0.75);
  EXPECT_EQ(scaleWithFonts(0.2, sets), 0.5);
  EXPECT_EQ(scaleWithFonts(4.0, sets), 3.0);
  EXPECT_EQ(scaleWithFonts(1.6, {}), 1.0);
  EXPECT_EQ(scaleWithFonts(0.6, {}), 1.0);
  ASSERT_NE(fontSetAt(sets, 1.75), nullptr);
  EXPECT_EQ(fontSetAt(sets, 1.75), &sets.at(175));
  EXPECT_EQ(fontSetAt(sets, 1.0), nullptr);

  // Where the scale stays as it is, the nearest size: a set, or past the
  // largest the built-in fonts magnified, never beyond the sizes there are.
  EXPECT_EQ(nearestTextSize(2.0, sets), 2.0);
  EXPECT_EQ(nearestTextSize(1.1, sets), 1.0);
  EXPECT_EQ(nearestTextSize(1.2, sets), 1.25);
  EXPECT_EQ(nearestTextSize(2.2, sets), 2.0);
  EXPECT_EQ(nearestTextSize(3.5, sets), 3.0);
  EXPECT_EQ(nearestTextSize(3.6, sets), 4.0);
  EXPECT_EQ(nearestTextSize(0.1, sets), 0.5);
  EXPECT_EQ(nearestTextSize(2.4, {}), 2.0);
  EXPECT_EQ(nearestTextSize(1.4, {}), 1.0);
  EXPECT_EQ(nearestTextSize(1e300, sets), 600.0);
  EXPECT_EQ(nearestTextSize(std::nan(""), sets), 1.0);

  // Damaged bytes give nothing rather than part.
  std::vector<unsigned char> bytes(kScaledFontsData, kScaledFontsData + kScaledFontsDataSize);
  EXPECT_TRUE(readFontSets(bytes.data(), bytes.size() - 1).empty());
  bytes[0] = 'X';
  EXPECT_TRUE(readFontSets(bytes.data(), bytes.size()).empty());
  bytes.push_back(0);
  bytes[0] = 'V';
  EXPECT_TRUE(readFontSets(bytes.data(), bytes.size()).empty());
}

}  // namespace
