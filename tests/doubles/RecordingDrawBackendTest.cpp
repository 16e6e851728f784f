#include <gtest/gtest.h>

#include "doubles/RecordingDrawBackend.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/Text.h"

namespace {

TEST(RecordingDrawBackend, SplitsTextRunsFlagsMisuseAndRestoresOnScopeEnd) {
  static RecordingDrawBackend outer;  // outlives a failed assertion that skips the reset below
  setDrawBackend(&outer);
  resetPen();
  setColor(0.0f, 0.0f, 1.0f);
  {
    ScopedDrawRecording rec;
    EXPECT_EQ(pen().color.b, 0.0f);  // a fresh pen
    setAlpha(0.3f);
    selectFont(3);
    // A character in another font starts a run of its own at the same place.
    drawText(1.0f, 2.0f, "a%d", 7);  // formatted, at the raster position, in the pen's font
    rec.bitmapCharacter(TextFont::Helvetica10, 'c');
    EXPECT_EQ(rec.texts(), (std::vector<std::string>{"a7", "c"}));
    EXPECT_EQ((Vec2{rec.textRuns()[1].x, rec.textRuns()[0].y}), (Vec2{1.0f, 2.0f}));
    EXPECT_EQ(rec.textRuns()[0].font, TextFont::TimesRoman24);

    beginLineStrip();
    setLineWidth(3.0f);  // width and point size: not allowed between begin and end
    EXPECT_EQ(rec.misuseCount(), 2);
    rec.clear();  // an open shape survives a clear
    vertex(5.0f, 6.0f);
    endShape();
    endShape();
    vertex(7.0f, 8.0f);
    ASSERT_EQ(rec.shapes().size(), 1u);
    EXPECT_EQ(rec.shapes()[0].primitive, Primitive::LineStrip);
    EXPECT_EQ(rec.shapes()[0].vertices.size(), 1u);
    EXPECT_EQ(rec.misuseCount(), 2);
  }
  EXPECT_EQ(&drawBackend(), &outer);
  // Each part of the pen comes back, the width set inside included.
  EXPECT_EQ(pen().color.b, 1.0f);
  EXPECT_EQ(pen().alpha, 1.0f);
  EXPECT_EQ(pen().width, 1.0f);
  EXPECT_EQ(pen().font, TextFont::Helvetica12);
  resetPen();
  setDrawBackend(nullptr);
}

}  // namespace
