#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "game/CityFile.h"
#include "game/Game.h"
#include "replay/RandomInput.h"
#include "replay/Replay.h"
#include "replay/WorldDigest.h"

// The golden runs: tests/golden/NAME.script must end in the world whose
// digest NAME.digest holds. After a deliberate change of behaviour,
// `make golden` rewrites the digests; their diff shows what moved.

namespace {

ReplayScript goldenScript(const std::string& name) {
  ReplayScript script;
  std::string error;
  EXPECT_TRUE(loadReplayScript(std::string(VERLOMBA_GOLDEN_DIR) + "/" + name + ".script", script, &error))
      << error;
  return script;
}

TEST(Replay, GoldenRunsEndInTheirCheckedInWorlds) {
  for (const char* name : {"idle", "economy", "battle", "fast"}) {
    ReplayRun run(goldenScript(name));
    run.run();
    std::ifstream golden(std::string(VERLOMBA_GOLDEN_DIR) + "/" + name + ".digest");
    std::string hash;
    std::string summary;  // the census and the money, for a readable diff
    for (std::string line; std::getline(golden, line);) {
      if (line.rfind("hash ", 0) == 0) hash = line.substr(5);
      if (line.rfind("summary ", 0) == 0) summary = line.substr(8);
    }
    EXPECT_EQ(hexDigest(worldDigest(run.game())), hash)
        << name << " changed behaviour (make golden if meant)";
    EXPECT_EQ(run.summary(), summary) << name;
  }
}

TEST(Replay, ZoomMouseAndTogglesChangeTheWorldAnUnreadTuningFileDoesNot) {
  auto worldAfter = [](const std::string& events) {
    ReplayScript script;
    EXPECT_TRUE(parseReplayScript("seed 5\nticks 200\n" + events, script));
    ReplayRun run(script);
    run.run();
    return describeWorld(run.game());
  };
  const std::string plain = worldAfter("");
  EXPECT_NE(worldAfter("100 wheel 1\n"), plain);
  EXPECT_NE(worldAfter("100 move 300 300\n"), plain);
  EXPECT_NE(worldAfter("100 menu 3\n"), plain);                        // the toggle alone
  EXPECT_EQ(worldAfter("100 tune kWorkBuildingPayout 0.5\n"), plain);  // written but never reloaded
}

TEST(Replay, ScriptTextRoundTripsAndReportsErrors) {
  ReplayScript script;
  std::string error;
  ASSERT_TRUE(parseReplayScript(
      "seed 9  # a comment\nticks 50\ntune kPeepCost 0.2\n"
      "5 drag 10 20 30 40 2\n6 key a\n6 mods shift alt\n7 wheel -2\n8 menu 3\n9 pixel 1.5 2\n"
      "10 click 102 182\n11 tune kWorkBuildingPayout 0.1\n12 key 32\n",
      script, &error))
      << error;
  EXPECT_EQ(script.seed, 9u);
  ASSERT_EQ(script.tuning.size(), 1u);
  // The drag: move at 5, press at 6 before the later lines of tick 6, two
  // steps at 7 and 8, release at 9.
  ASSERT_GE(script.events.size(), 6u);
  EXPECT_EQ(script.events[1].kind, ReplayEvent::kPress);
  EXPECT_EQ(script.events[1].tick, 6);
  EXPECT_EQ(script.events[4].kind, ReplayEvent::kMove);
  EXPECT_EQ(script.events[4].x, 20.0f);

  ReplayScript again;
  ASSERT_TRUE(parseReplayScript(formatReplayScript(script), again, &error)) << error;
  EXPECT_EQ(formatReplayScript(again), formatReplayScript(script));

  for (const char* bad :
       {"ticks\n", "3 jump\n", "3 move 1\n", "3 mods meta\n", "x move 1 2\n", "3 key ab\n"}) {
    EXPECT_FALSE(parseReplayScript(std::string("seed 1\n") + bad, again, &error)) << bad;
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
  }
}

// Random play recorded as a script replays to the same world; the same
// input on another seed does not.
TEST(Determinism, RecordedRandomPlayReplaysExactlyAndAnotherSeedDiffers) {
  std::string text;
  std::string expected;
  {
    const ReplayScript script = soakScript(31, 1500);
    ReplayRun played(script);
    RandomInput input(script.seed);
    playRandomly(played, input);
    EXPECT_GT(played.script().events.size(), 100u);
    text = formatReplayScript(played.script());
    expected = describeWorld(played.game());
  }
  ReplayScript recorded;
  ASSERT_TRUE(parseReplayScript(text, recorded));
  ReplayRun replayed(recorded);
  replayed.run();
  EXPECT_EQ(describeWorld(replayed.game()), expected);
  recorded.seed += 1;
  ReplayRun reseeded(recorded);
  reseeded.run();
  EXPECT_NE(describeWorld(reseeded.game()), expected);
}

// Saved at the given ticks, loaded into a fresh run and played on with the
// same input, the game goes through the same worlds, tick for tick, as the
// run that never stopped; a loaded world saves to the same file again.
// Returns how many of the saves were made while paused.
int expectExactResume(const ReplayScript& script, const std::vector<int>& saveTicks, bool randomPlay) {
  int paused = 0;
  std::vector<uint64_t> digests(script.ticks + 1);  // after each tick from the first save on
  std::vector<ReplaySave> saves;
  ReplayScript played;
  {
    ReplayRun run(script);
    const int first = *std::min_element(saveTicks.begin(), saveTicks.end());
    auto afterTick = [&](ReplayRun& r) {
      if (r.tick() >= first) digests[r.tick()] = worldDigest(r.game());
      if (std::count(saveTicks.begin(), saveTicks.end(), r.tick())) {
        saves.push_back(r.save());
        paused += r.game().paused;
      }
    };
    RandomInput input(script.seed);
    if (randomPlay) {
      playRandomly(run, input, afterTick);
    } else {
      while (!run.finished()) {
        run.step();
        afterTick(run);
      }
    }
    played = run.script();
  }
  EXPECT_EQ(saves.size(), saveTicks.size());
  for (const ReplaySave& save : saves) {
    ReplayRun resumed(played, save);
    EXPECT_EQ(worldDigest(resumed.game()), digests[save.tick]) << "loaded at " << save.tick;
    std::string again;
    std::string problem;
    EXPECT_TRUE(writeCity(resumed.game(), again, problem)) << problem;
    EXPECT_EQ(again, save.city);
    while (!resumed.finished()) {
      resumed.step();
      if (worldDigest(resumed.game()) != digests[resumed.tick()]) {
        ADD_FAILURE() << "saved at " << save.tick << ", first differs after tick " << resumed.tick();
        break;
      }
    }
  }
  return paused;
}

TEST(Resume, GoldenRunsAndRandomPlayGoOnExactlyFromASavedCity) {
  for (const char* name : {"idle", "economy", "battle", "fast"}) {
    SCOPED_TRACE(name);
    const ReplayScript script = goldenScript(name);
    expectExactResume(script, {script.ticks / 3 + 17, 2 * script.ticks / 3 + 1}, false);
  }
  // Random play saves mid-gesture as well (drags, sweeps and roads under
  // way), and while paused.
  EXPECT_GT(expectExactResume(soakScript(78, 1500), {200, 613, 1050, 1432}, true), 0);
}

}  // namespace
