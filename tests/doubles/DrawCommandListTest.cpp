#include <gtest/gtest.h>

#include "doubles/DrawCommandList.h"
#include "doubles/RecordingDrawBackend.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/Text.h"

namespace {

TEST(DrawCommandList, PlaysBackWhatWasDrawnWithDiscsAsTheShapesOfTheOtherBackends) {
  const auto draw = [] {
    resetPen();
    setColor(0.5f, 0.25f, 1.0f);
    fillCircle(30, 40, 12);  // opaque: disc and edge
    setAlpha(0.5f);
    fillCircle(30, 40, 12);  // translucent: the disc alone
    setLineWidth(3.0f);
    drawArc(5, 6, 20, 0.1f, 2.0f);
    drawText(3, 4, "x%d", 7);
    resetPen();
  };
  DrawCommandList list;
  setDrawBackend(&list);
  draw();
  setDrawBackend(nullptr);

  ScopedDrawRecording direct;
  draw();

  RecordingDrawBackend replayed;
  list.replay(replayed);
  ASSERT_EQ(replayed.shapes().size(), direct.shapes().size());
  for (size_t i = 0; i < direct.shapes().size(); ++i) {
    const RecordedShape& a = direct.shapes()[i];
    const RecordedShape& b = replayed.shapes()[i];
    ASSERT_EQ(a.primitive, b.primitive) << i;
    ASSERT_EQ(a.vertices.size(), b.vertices.size()) << i;
    for (size_t v = 0; v < a.vertices.size(); ++v) {
      EXPECT_EQ(a.point(v).x, b.point(v).x);
      EXPECT_EQ(a.point(v).y, b.point(v).y);
      EXPECT_TRUE(a.vertices[v].color == b.vertices[v].color);
      EXPECT_EQ(a.vertices[v].lineWidth, b.vertices[v].lineWidth);
    }
  }
  EXPECT_EQ(replayed.texts(), direct.texts());
}

}  // namespace
