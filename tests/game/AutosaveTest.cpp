#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "FreshGame.h"
#include "app/FrameClock.h"
#include "app/GameStart.h"
#include "game/Autosave.h"
#include "game/CityFile.h"
#include "replay/WorldDigest.h"
#include "support/TempDir.h"
#include "tuning/Tuning.h"

namespace {

class AutosaveTest : public FreshGame {
 protected:
  AutosaveTest() { kAutosaveMinutes = 0.01f; }  // every 0.6 s of play
  ~AutosaveTest() override { g.autosave.finish(); }
  ScopedWorkingDirectory dir_;
};

TEST_F(AutosaveTest, SavesEveryIntervalOfUnpausedPlayAndOnClose) {
  h.app().pressKey('p');
  h.tick(60);  // two seconds paused count for nothing
  g.autosave.finish();
  EXPECT_FALSE(std::filesystem::exists(kAutosaveFileName));
  h.app().pressKey('p');
  h.tick(17);  // 34 ms a frame: 0.58 s
  g.autosave.finish();
  EXPECT_FALSE(std::filesystem::exists(kAutosaveFileName));
  h.tick(1);
  EXPECT_EQ(g.autosave.finish(), "");
  const std::string first = dir_.read(kAutosaveFileName);
  EXPECT_EQ(first.rfind("verlomba-city 2\n", 0), 0u);

  // On close the city is saved whatever the interval; Load Autosave brings it back.
  h.tick(5);
  const std::string closed = describeWorld(g);
  g.showHelp();  // its pause is not the city's; a tab only hidden comes back to it
  g.onClose();
  EXPECT_TRUE(g.helpShown);
  g.closeHelp();
  EXPECT_NE(dir_.read(kAutosaveFileName), first);
  EXPECT_NE(dir_.read(kAutosaveFileName).find("\ntoggles 0 0 0 0 0"), std::string::npos);
  h.tick(10);
  h.app().pickMenu(Game::kLoadAutosaveCommand);
  EXPECT_EQ(describeWorld(g), closed);
  EXPECT_FALSE(std::filesystem::exists(kCityFileName));

  kAutosaveMinutes = 0.0f;  // off: neither on an interval nor on close
  std::filesystem::remove(kAutosaveFileName);
  h.tick(60);
  g.onClose();
  EXPECT_FALSE(std::filesystem::exists(kAutosaveFileName));
}

TEST_F(AutosaveTest, AFailureIsSaidOnceAndTriedAgainAtTheNextInterval) {
  dir_.write(kCityFileName, "the player's own city");
  std::filesystem::create_directories(std::string(kAutosaveFileName) + "/kept");
  h.tick(20);
  // Said once: by a frame if the save's thread was done before the last
  // frame, else by finish. The notice is shown at the real time of the
  // frame's end, which the frame's scheduled time may trail.
  const std::string said = g.autosave.finish();
  if (said.empty()) {
    EXPECT_TRUE(g.notice.isShown(FrameClock::realSeconds()));
  } else {
    EXPECT_EQ(said.rfind("Could not autosave Verlomba-autosave.txt: ", 0), 0u) << said;
  }
  h.tick(20);
  EXPECT_EQ(g.autosave.finish(), "");  // failed again, not said again
  std::filesystem::remove_all(kAutosaveFileName);
  h.tick(20);
  g.autosave.finish();
  EXPECT_TRUE(std::filesystem::is_regular_file(kAutosaveFileName));
  EXPECT_EQ(dir_.read(kCityFileName), "the player's own city");

  // The failure the frame finds is said under the field, once the first
  // one's notice has gone.
  for (int i = 0; i < 300 && g.notice.isShown(FrameClock::realSeconds()); ++i) h.tick();
  ASSERT_FALSE(g.notice.isShown(FrameClock::realSeconds()));
  std::filesystem::remove(kAutosaveFileName);
  std::filesystem::create_directories(std::string(kAutosaveFileName) + "/kept");
  // The save's own thread writes and flushes the file, which a busy disk
  // may take seconds to do: the frames go on until it is done.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!g.notice.isShown(FrameClock::realSeconds()) && std::chrono::steady_clock::now() < giveUp) {
    h.tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(g.notice.isShown(FrameClock::realSeconds()));
}

TEST(FirstStart, PointsToTheMenuAndHelpOnlyWhereNothingWasPlayed) {
  for (const char* left : {"", kAutosaveFileName, "Verlomba-saved.ini"}) {
    ScopedWorkingDirectory dir;
    if (*left) dir.write(left, "");
    HeadlessGame h;
    std::string problem;
    Game* game = startGame(h.app(), nullptr, "", problem);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->hint.isShown(h.app().lastFrameTime() + 9.0f), !*left) << left;
    EXPECT_FALSE(game->hint.isShown(h.app().lastFrameTime() + 11.0f));
    delete game;
  }
}

}  // namespace
