#pragma once

#include <string>
#include <vector>

#include "app/Application.h"
#include "app/GameClient.h"

// A client that writes down every event it receives, in order, e.g.
// "down 10 20", "move 1 -2", "key 97", "menu 3", "frame".
class RecordingClient : public GameClient {
 public:
  explicit RecordingClient(Application* app) : GameClient(app) { app->run(this); }

  void onMenuCommand(int id) override { log("menu " + std::to_string(id)); }
  void onMouseDown(float x, float y) override { log("down " + pair(x, y)); }
  void onMouseUp(float x, float y) override { log("up " + pair(x, y)); }
  void onKey(int code) override { log("key " + std::to_string(code)); }
  void onFrame() override { log("frame"); }
  void onDraw() override { log("draw"); }
  void onMouseMove(float dx, float dy) override { log("move " + pair(dx, dy)); }
  void onWheel(float step) override { log("wheel " + number(step)); }
  bool onReserved(int, int) override { return true; }

  std::vector<std::string> events;

 private:
  static std::string number(float v) {
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
  }
  static std::string pair(float a, float b) { return number(a) + " " + number(b); }
  void log(const std::string& e) { events.push_back(e); }
};
