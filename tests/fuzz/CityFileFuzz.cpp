// Any bytes as a saved city, loaded into a running game: a refused file
// leaves the city exactly as it was; a taken one saves back to itself,
// plays on, saves what loads again, and loads over itself alike.

#include <cstdio>
#include <memory>
#include <string>

#include "FuzzFile.h"
#include "doubles/NullDrawBackend.h"
#include "doubles/ScriptedApplication.h"
#include "draw/DrawBackend.h"
#include "game/CityFile.h"
#include "game/Game.h"
#include "tuning/Tuning.h"
#include "world/Random.h"

namespace {

struct Running {
  Running() {
    setDrawBackend(&draw);
    restoreBuiltInTuning();
    seedRandom(1);
    game = std::make_unique<Game>(&app);
    app.run(game.get());
    app.tick(30);
    std::string problem;
    if (!writeCity(*game, start, problem)) std::abort();
  }
  NullDrawBackend draw;
  ScriptedApplication app;
  std::unique_ptr<Game> game;
  std::string start;  // the city every input is loaded over
};

std::string saved(Game& game) {
  std::string text;
  std::string problem;
  FUZZ_CHECK(writeCity(game, text, problem));
  return text;
}

// Plays on a little: a Shift drag across the field swaps the tool and
// moves whatever the loaded hand holds.
void playOn(ScriptedApplication& app) {
  app.setMouseWorld(300.0f, 300.0f);
  app.tick();
  app.setModifiers(true);
  app.pressButton();
  app.setMouseWorld(340.0f, 330.0f);
  app.tick(2);
  app.releaseButton();
  app.setModifiers(false);
  app.tick();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Running r;
  Game& game = *r.game;
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string problem;
  if (!readCity(game, text, problem)) {
    FUZZ_CHECK(!problem.empty() && problem.find('\n') == std::string::npos);
    FUZZ_CHECK(saved(game) == r.start);
    return 0;
  }
  const std::string taken = saved(game);
  FUZZ_CHECK(readCity(game, taken, problem));
  FUZZ_CHECK(saved(game) == taken);
  // Whatever the game takes, played on and saved, it takes again and saves
  // the same: it writes only what it reads.
  playOn(r.app);
  const std::string played = saved(game);
  if (!readCity(game, played, problem)) {
    std::fprintf(stderr, "a played city was refused: %s\n%s", problem.c_str(), played.c_str());
    std::abort();
  }
  FUZZ_CHECK(saved(game) == played);
  // Loaded again over a world that played on: the same city as the first time.
  playOn(r.app);
  FUZZ_CHECK(readCity(game, text, problem));
  FUZZ_CHECK(saved(game) == taken);
  r.app.tick();
  FUZZ_CHECK(readCity(game, r.start, problem));
  return 0;
}
