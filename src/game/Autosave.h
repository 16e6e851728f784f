#pragma once

#include <string>
#include <utility>

#include "files/BackgroundSave.h"

class Game;

// In the play directory, beside the city file, which it never touches.
extern const char* kAutosaveFileName;  // "Verlomba-autosave.txt"

// The city saved by itself every kAutosaveMinutes of play (paused time does
// not count; 0 turns it off) and when the window closes. The city is
// written into text on the frame that is due and saved to the disk behind
// the game, so that a big city costs no visible hitch.
class Autosave {
 public:
  // One frame at the real time now: counts the time since the last frame
  // unless paused and starts a save when one is due. Returns what the
  // player should be told: why a save failed, once for a run of failures
  // (each is tried again at the next interval); else nothing.
  std::string onFrame(Game& game, float now, bool paused);
  // The save on close: waits for one under way, then saves at once.
  // Nothing when autosaving is off. Returns what onFrame would say of it.
  std::string onClose(Game& game);
  // Until a save under way has ended; what onFrame would say of it.
  std::string finish();
  // True once after each save that ended well, for a platform that keeps
  // the file elsewhere too.
  bool takeSaved() { return std::exchange(saved_, false); }

 private:
  std::string outcome(const SaveResult& result);

  float playSeconds_ = 0.0f;
  float lastFrame_ = -1.0f;
  bool failing_ = false;
  bool saved_ = false;
  BackgroundSave write_;
};
