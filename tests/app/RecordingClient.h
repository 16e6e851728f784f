#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/GameClient.h"

// A client that writes down every event it receives, in order, e.g.
// "down 10 20", "move 1 -2", "key 97", "menu 3", "frame".
class RecordingClient : public GameClient {
 public:
  explicit RecordingClient(Application* app) : GameClient(app) { app->run(this); }

  void onMenuCommand(int id) override { log("menu %d", id); }
  void onMouseDown(float x, float y) override { log("down %g %g", x, y); }
  void onMouseUp(float x, float y) override { log("up %g %g", x, y); }
  void onKey(int code) override { log("key %d", code); }
  void onFrame() override { events.push_back("frame"); }
  void onDraw() override { events.push_back("draw"); }
  void onMouseMove(float dx, float dy) override { log("move %g %g", dx, dy); }
  void onWheel(float step) override { log("wheel %g", step); }
  bool onReserved(int, int) override { return true; }

  std::vector<std::string> events;

 private:
  template <typename... Args>
  void log(const char* format, Args... args) {
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    events.push_back(text);
  }
};
