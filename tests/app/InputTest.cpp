#include <gtest/gtest.h>

#include "app/InputMapping.h"
#include "app/RecordingClient.h"
#include "app/WheelInput.h"
#include "doubles/ScriptedApplication.h"

using Events = std::vector<std::string>;

TEST(InputTest, KeyMappingAndModifiers) {
  EXPECT_EQ(mapKeyboardKey(26, kCtrlBit), 'z');             // Ctrl+Z
  EXPECT_EQ(mapKeyboardKey(1, kCtrlBit | kShiftBit), 'A');  // Ctrl+Shift+A
  EXPECT_EQ(mapKeyboardKey(1, kCtrlBit | 0x10), 'a');       // an extra lock bit changes nothing
  EXPECT_EQ(mapKeyboardKey(127, kShiftBit), 8);             // Delete

  ScriptedApplication app;
  RecordingClient client(&app);
  app.setModifiers(true, true);
  app.pressKey(1);
  EXPECT_EQ(client.events, (Events{"key 65"}));
}

TEST(InputTest, WindowToWorldWithZoomAndTranslation) {
  ViewTransform t;
  t.view = {0.0f, 800.0f, 0.0f, 800.0f};
  t.translation = {400.0f, 400.0f};
  EXPECT_EQ(windowToWorld(123.0f, 456.0f, t), (Vec2{123.0f, 456.0f}));

  t.zoom = 2.0f;
  EXPECT_EQ(windowToWorld(500.0f, 300.0f, t), (Vec2{450.0f, 350.0f}));

  // Panned: the chosen centre sits under the window centre, at any zoom.
  t.translation = translationForCentre(t.view, 250.0f, 600.0f);
  EXPECT_EQ(centreForTranslation(t.view, t.translation), (Vec2{250.0f, 600.0f}));
  EXPECT_EQ(windowToWorld(500.0f, 400.0f, t), (Vec2{300.0f, 600.0f}));

  // Odd sizes use whole half sizes, as the drawing transform does.
  t.view = {0.0f, 801.0f, 0.0f, 601.0f};
  t.translation = {400.0f, 300.0f};
  EXPECT_EQ(windowToWorld(400.0f, 300.0f, t), (Vec2{400.0f, 300.0f}));

  // The scripted window re-centres on resize, and its mouse helper inverts the conversion.
  ScriptedApplication app;
  EXPECT_TRUE(app.setWindowSize(800.0f, 800.0f));
  EXPECT_EQ(app.viewCentre(), (Vec2{400.0f, 400.0f}));
  app.setZoom(2.0f);
  app.setMouseWorld(420.0f, 380.0f);
  EXPECT_EQ(app.mousePixel(), (Vec2{440.0f, 360.0f}));
}

TEST(InputTest, DoubleClickDragAndClickInPlace) {
  ScriptedApplication app;
  // A press at pixel (x, 100) after ms milliseconds; whether it completed a double click.
  const auto pressAfter = [&app](uint32_t ms, float x) {
    app.advanceMilliseconds(ms);
    app.setMousePixel(x, 100.0f);
    app.pressButton();
    return app.isDoubleClick();
  };
  EXPECT_FALSE(pressAfter(0, 100.0f));
  EXPECT_FALSE(app.isDragging());
  app.releaseButton();
  EXPECT_TRUE(app.isClickInPlace());

  EXPECT_TRUE(pressAfter(400, 100.0f));
  app.setMousePixel(101.0f, 100.0f);
  EXPECT_TRUE(app.isDragging());
  app.releaseButton();
  EXPECT_FALSE(app.isClickInPlace());
  EXPECT_FALSE(app.isDragging());  // the button is up, whatever the mouse does

  EXPECT_FALSE(pressAfter(100, 100.0f));  // a third press makes no second double click
  EXPECT_FALSE(pressAfter(500, 100.0f));  // half a second is too slow
  EXPECT_FALSE(pressAfter(100, 101.0f));  // not the same pixel
}

TEST(InputTest, WheelReportsTheDirectionSinceTheLastRead) {
  WheelInput wheel;
  wheel.add(3);
  wheel.add(-1);
  EXPECT_EQ(wheel.read(), 1);  // the direction of the sum, not of the last notch
  EXPECT_EQ(wheel.read(), 0);  // consumed
}
