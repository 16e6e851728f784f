#include "app/MinimalClient.h"

#include "app/Application.h"
#include "app/FrameClock.h"
#include "draw/Pen.h"
#include "draw/Text.h"

MinimalClient::MinimalClient(Application* app) : GameClient(app) {
  setWindowSize(800.0f, 800.0f);
}

void MinimalClient::onDraw() {
  selectFont(2);
  setColor(0.5f, 0.5f, 0.5f);
  // The frame on which the second changes stores the count and is not
  // counted itself.
  const int second = static_cast<int>(FrameClock::seconds());
  if (second == currentSecond_) {
    ++framesThisSecond_;
  } else {
    fpsShown_ = framesThisSecond_;
    framesThisSecond_ = 0;
    currentSecond_ = static_cast<int>(FrameClock::seconds());
  }
  drawText(7.0f, 16.0f, "%d fps", fpsShown_);
}
