#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "doubles/ScriptedApplication.h"

class Game;

// Headless, deterministic replays: a seed and a script of timed inputs run on
// a ScriptedApplication, one game tick per frame interval of its clock.
//
// Script text, one item per line; "#" starts a comment, blank lines are
// ignored, coordinates are world units:
//
//   seed 12345                  generator seed (default 1)
//   ticks 6000                  length of the run
//   tune kStartWithMoney 0.9    a tuning line in Verlomba.ini before the start
//   T move X Y                  mouse over a world point
//   T pixel X Y                 mouse over a window pixel
//   T press | T release         the left button
//   T wheel N                   N wheel notches, up when positive
//   T key C                     a character key with the modifiers held
//   T menu ID                   pick of the "Game" menu entry with this id
//   T mods [shift] [ctrl] [alt] modifiers held from now on; "mods none"
//   T tune NAME VALUE           appends a line to Verlomba.ini (for a reload)
//   T click X Y                 move at T; press and release at T+1
//   T drag X0 Y0 X1 Y1 N        move to X0 Y0 at T, press at T+1, N even
//                               steps to X1 Y1 at T+2 .. T+N+1, release at
//                               T+N+2
//
// Inputs of tick T are applied, in file order, after T ticks have run, so
// "0 ..." comes before the first tick. Click and drag leave a tick between
// the move and the press because the motion between two frames reaches the
// game with the next frame, and would otherwise carry a just-pressed object
// along with the jump.
//
// A run lives in a fresh temporary working directory, so the tuning file
// the game reads at start and on "Reload Tuning File" is the script's own
// (built-in values without "tune" lines) and "Save Tuning" writes there.

struct ReplayEvent {
  enum Kind { kMove, kPixel, kPress, kRelease, kWheel, kKey, kMenu, kModifiers, kTune };

  int tick = 0;
  Kind kind = kMove;
  float x = 0.0f;  // move, pixel
  float y = 0.0f;
  int value = 0;     // wheel notches, key code, menu id, modifier bits
  std::string name;  // tune: key and value as written
  std::string text;
};

struct ReplayScript {
  uint32_t seed = 1;
  int ticks = 0;
  std::vector<std::pair<std::string, std::string>> tuning;
  // Ordered by tick; equal ticks keep their order.
  std::vector<ReplayEvent> events;
};

// False with a message naming the line on a syntax error.
bool parseReplayScript(const std::string& text, ReplayScript& script, std::string* error = nullptr);
bool loadReplayScript(const std::string& path, ReplayScript& script, std::string* error = nullptr);
// The script as text that parses back to the same script (click and drag
// come back as their single steps).
std::string formatReplayScript(const ReplayScript& script);

// Adds an event after those of the same tick.
void addEvent(ReplayScript& script, const ReplayEvent& event);

// What a run saw on its way, beyond the final state.
struct ReplayStats {
  int ticks = 0;
  int objects = 0;  // in the world list after the last tick
  int maxObjects = 0;
  int maxAgents = 0;
  int creepsSpawned = 0;
  int maxCreeps = 0;
  int shots = 0;             // hits by military buildings
  double moneyEarned = 0.0;  // what reached the money bar
  double moneySpent = 0.0;   // what the palette took
};

// A run stopped after some tick: the game as a city file, and the hand and
// clocks of the application, so another run can go on from there.
struct ReplaySave {
  int tick = 0;
  std::string city;
  ScriptedApplication::Snapshot input;
};

// One game built from a script and run on demand. While it lives it owns
// the process-wide pieces a game uses: the application, the clock, the draw
// backend (drawing goes nowhere), the tuning values, the generator and the
// working directory; they are put back when it ends. So only one run
// should be alive at a time (nested runs must end in reverse order), and the
// digest of a run must be taken while it is the live one: the clock and the
// generator it reads are process-wide.
class ReplayRun {
 public:
  explicit ReplayRun(const ReplayScript& script);
  // The script's run going on from a save of it: the city loaded, the
  // inputs up to the save's tick taken as done. Throws when the city is
  // refused.
  ReplayRun(const ReplayScript& script, const ReplaySave& save);
  ~ReplayRun();
  ReplayRun(const ReplayRun&) = delete;
  ReplayRun& operator=(const ReplayRun&) = delete;

  // Applies the inputs due now, then runs one tick.
  void step();
  void runTo(int tick);
  void run();
  bool finished() const;
  // Ticks run so far.
  int tick() const;
  // The run as it stands, to go on from later.
  ReplaySave save();

  // Adds an input for tick() or later, e.g. from a generator that looks at
  // the world; script() then records it, so the run can be replayed.
  void schedule(const ReplayEvent& event);
  const ReplayScript& script() const;

  Game& game();
  ScriptedApplication& app();
  const ReplayStats& stats() const;
  // "ticks=... objects=... peeps=... money=... earned=..." of the state now.
  std::string summary();

 private:
  struct State;
  std::unique_ptr<State> state_;
};
