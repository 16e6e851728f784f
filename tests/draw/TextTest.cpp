#include <gtest/gtest.h>

#include <string>

#include "doubles/RecordingDrawBackend.h"
#include "draw/Pen.h"
#include "draw/Text.h"

namespace {

TEST(Text, CodesAbove127StayPositiveAndLongTextIsCutAt255) {
  // Also notes the last character code the backend was given.
  struct CodeRecorder : ScopedDrawRecording {
    int lastCode = 0;
    void bitmapCharacter(TextFont font, int character) override {
      lastCode = character;
      ScopedDrawRecording::bitmapCharacter(font, character);
    }
  } rec;
  // A plain char above 127 is negative; GLUT wants 0..255.
  drawText(0.0f, 0.0f, "\xe9");
  EXPECT_EQ(rec.lastCode, 0xe9);

  // Widths are measured in the selected font, Helvetica 12 for unknown codes.
  selectFont(5);
  const std::string longText(300, 'x');
  EXPECT_EQ(textWidth("%s!", longText.c_str()), 255.0f * 7.0f);
  drawText(0.0f, 0.0f, "%s", longText.c_str());
  EXPECT_EQ(rec.texts().back(), std::string(255, 'x'));
}

}  // namespace
