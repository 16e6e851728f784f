#include <gtest/gtest.h>

#include <string>

#include "draw/Pen.h"
#include "draw/RecordingDrawBackend.h"
#include "draw/Text.h"

namespace {

TEST(Text, SelectFontBySizeCode) {
  ScopedDrawRecording rec;
  EXPECT_EQ(pen().font, GLUT_BITMAP_HELVETICA_12);
  selectFont(2);
  EXPECT_EQ(pen().font, GLUT_BITMAP_HELVETICA_10);
  selectFont(3);
  EXPECT_EQ(pen().font, GLUT_BITMAP_TIMES_ROMAN_24);
  selectFont(5);
  EXPECT_EQ(pen().font, GLUT_BITMAP_HELVETICA_12);
}

TEST(Text, DrawTextFormatsAtRasterPositionInPenFontAndColour) {
  ScopedDrawRecording rec;
  selectFont(3);
  setColor(0.0f, 0.0f, 1.0f);
  drawText(12.5f, 30.0f, "Population: %d", 42);

  ASSERT_EQ(rec.textRuns().size(), 1u);
  const RecordedText& run = rec.textRuns()[0];
  EXPECT_EQ(run.x, 12.5f);
  EXPECT_EQ(run.y, 30.0f);
  EXPECT_EQ(run.font, GLUT_BITMAP_TIMES_ROMAN_24);
  EXPECT_TRUE((run.color == Rgba{0.0f, 0.0f, 1.0f, 1.0f}));
  EXPECT_TRUE(rec.drewText("Population: 42"));
  EXPECT_EQ(textWidth("%d%%", 50), 3.0f * 12.0f);
  EXPECT_EQ(rec.misuseCount(), 0);
}

TEST(Text, LongTextIsCutAt255Characters) {
  ScopedDrawRecording rec;
  const std::string longText(300, 'x');
  drawText(0.0f, 0.0f, "%s", longText.c_str());
  ASSERT_EQ(rec.texts().size(), 1u);
  EXPECT_EQ(rec.texts()[0], std::string(255, 'x'));
  EXPECT_EQ(textWidth("%s!", longText.c_str()), 255.0f * 7.0f);
}

TEST(Text, CharactersAboveAsciiReachTheBackendAsPositiveCodes) {
  struct CodeRecorder : RecordingDrawBackend {
    int lastCode = 0;
    void bitmapCharacter(FontHandle font, int character) override {
      lastCode = character;
      RecordingDrawBackend::bitmapCharacter(font, character);
    }
  } rec;
  setDrawBackend(&rec);
  drawText(0.0f, 0.0f, "\xe9");
  setDrawBackend(nullptr);
  EXPECT_EQ(rec.lastCode, 0xe9);
}

}  // namespace
