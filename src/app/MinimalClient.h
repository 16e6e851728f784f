#pragma once

#include "app/GameClient.h"

// A stand-in client until the game exists: an 800 by 800 window that shows
// the frame rate the way the game's HUD does.
class MinimalClient : public GameClient {
 public:
  explicit MinimalClient(Application* app);

  void onMenuCommand(int) override {}
  void onMouseDown(float, float) override {}
  void onMouseUp(float, float) override {}
  void onKey(int) override {}
  void onFrame() override { renderFrame(); }
  void onDraw() override;
  void onMouseMove(float, float) override {}
  void onWheel(float) override {}
  bool onReserved(int, int) override { return true; }

  // Frames counted in the last whole second of the frame clock.
  int fpsShown() const { return fpsShown_; }

 private:
  int fpsShown_ = 0;
  int framesThisSecond_ = 0;
  int currentSecond_ = 0;
};
