#include <gtest/gtest.h>

#include "draw/Colors.h"
#include "draw/Pen.h"
#include "draw/RecordingDrawBackend.h"
#include "draw/Shapes.h"
#include "draw/Text.h"

namespace {

TEST(RecordingDrawBackend, RecordsStatePerVertexAndFlagsMisuse) {
  ScopedDrawRecording rec;
  setColor(kGreen);
  fillRect({0.0f, 1.0f, 0.0f, 1.0f});
  setColor(kOrange);
  setLineWidth(2.0f);
  drawLine(0.0f, 0.0f, 5.0f, 5.0f);

  ASSERT_EQ(rec.shapesWithColor(kGreen).size(), 1u);
  EXPECT_EQ(rec.shapesWithColor(kGreen)[0]->primitive, Primitive::Quads);
  ASSERT_EQ(rec.shapesOf(Primitive::Lines).size(), 1u);
  EXPECT_EQ(rec.shapesOf(Primitive::Lines)[0]->vertices[1].lineWidth, 2.0f);
  EXPECT_EQ(rec.stateCalls().size(), 4u);  // two colours, width, point size
  EXPECT_EQ(rec.misuseCount(), 0);

  beginLineStrip();
  Vec2 points[2] = {{1, 2}, {3, 4}};
  vertices(points, 2);
  vertices(points, 0);
  setLineWidth(3.0f);  // not allowed between begin and end
  rec.clear();         // an open shape survives a clear
  vertex(5.0f, 6.0f);
  endShape();
  endShape();
  vertex(7.0f, 8.0f);
  ASSERT_EQ(rec.shapes().size(), 1u);
  EXPECT_EQ(rec.shapes()[0].primitive, Primitive::LineStrip);
  EXPECT_EQ(rec.shapes()[0].vertices.size(), 1u);
  EXPECT_EQ(rec.misuseCount(), 2);
  EXPECT_EQ(rec.currentLineWidth(), 3.0f);
}

TEST(RecordingDrawBackend, TextRunsSplitOnRasterPositionAndFont) {
  ScopedDrawRecording rec;
  drawText(1.0f, 2.0f, "ab");
  rec.bitmapCharacter(GLUT_BITMAP_HELVETICA_10, 'c');
  EXPECT_EQ(rec.texts(), (std::vector<std::string>{"ab", "c"}));
  EXPECT_EQ(rec.textRuns()[1].x, 1.0f);
  EXPECT_EQ(rec.bitmapWidth(GLUT_BITMAP_HELVETICA_10, 'W'), 6);
}

TEST(RecordingDrawBackend, ScopeRestoresBackendAndPen) {
  RecordingDrawBackend outer;
  setDrawBackend(&outer);
  resetPen();
  setColor(kBlue);
  selectFont(2);
  {
    ScopedDrawRecording rec;
    EXPECT_EQ(&drawBackend(), &rec);
    EXPECT_EQ(pen().color.b, 0.0f);
    EXPECT_TRUE((rec.currentColor() == Rgba{0.0f, 0.0f, 0.0f, 1.0f}));
    setAlpha(0.3f);
    setLineWidth(5.0f);
    selectFont(3);
  }
  EXPECT_EQ(&drawBackend(), &outer);
  EXPECT_EQ(pen().color.b, 1.0f);
  EXPECT_EQ(pen().alpha, 1.0f);
  EXPECT_EQ(pen().width, 1.0f);
  EXPECT_EQ(pen().font, GLUT_BITMAP_HELVETICA_10);
  resetPen();
  setDrawBackend(nullptr);
}

}  // namespace
