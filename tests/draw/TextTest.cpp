#include <gtest/gtest.h>

#include <string>

#include "draw/Pen.h"
#include "draw/RecordingDrawBackend.h"
#include "draw/Text.h"

namespace {

TEST(Text, DrawTextFormatsAtRasterPositionInPenFontAndColourCutAt255) {
  ScopedDrawRecording rec;
  selectFont(3);
  setColor(0.0f, 0.0f, 1.0f);
  drawText(12.5f, 30.0f, "Population: %d", 42);
  ASSERT_EQ(rec.textRuns().size(), 1u);
  const RecordedText& run = rec.textRuns()[0];
  EXPECT_EQ((Vec2{run.x, run.y}), (Vec2{12.5f, 30.0f}));
  EXPECT_EQ(run.font, GLUT_BITMAP_TIMES_ROMAN_24);
  EXPECT_TRUE((run.color == Rgba{0.0f, 0.0f, 1.0f, 1.0f}));
  EXPECT_EQ(run.text, "Population: 42");

  // Widths are measured in the selected font: Helvetica 10 for size code 2,
  // Helvetica 12 for anything unknown.
  selectFont(2);
  EXPECT_EQ(textWidth("%d%%", 50), 3.0f * 6.0f);
  selectFont(5);
  const std::string longText(300, 'x');
  EXPECT_EQ(textWidth("%s!", longText.c_str()), 255.0f * 7.0f);
  drawText(0.0f, 0.0f, "%s", longText.c_str());
  EXPECT_EQ(rec.texts().back(), std::string(255, 'x'));
}

TEST(Text, CharactersAboveAsciiReachTheBackendAsPositiveCodes) {
  struct CodeRecorder : RecordingDrawBackend {
    int lastCode = 0;
    void bitmapCharacter(FontHandle, int character) override { lastCode = character; }
  } rec;
  setDrawBackend(&rec);
  drawText(0.0f, 0.0f, "\xe9");
  setDrawBackend(nullptr);
  EXPECT_EQ(rec.lastCode, 0xe9);
}

}  // namespace
