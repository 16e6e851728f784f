#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FreshGame.h"
#include "agents/Creep.h"
#include "agents/Peep.h"
#include "app/GlutMenu.h"
#include "app/InputMapping.h"
#include "doubles/RecordingDrawBackend.h"
#include "game/CityFile.h"
#include "replay/WorldDigest.h"
#include "support/TempDir.h"
#include "tuning/Tuning.h"
#include "world/MoneyPiece.h"

namespace {

using GameCommands = FreshGame;

TEST_F(GameCommands, SlowAndFastSetTheSpeedExcludeEachOtherAndShowTheNextAction) {
  RecordingMenuBackend& menus = h.app().menuBackend();
  const int sub = menus.find(menus.attachedMenu())->items[0].subMenu;
  const int fastAt = 13;  // appended after the menu's older entries
  EXPECT_EQ(menus.label(sub, 3), "Turn Slow On");
  EXPECT_EQ(menus.label(sub, fastAt), "Turn Fast On");
  h.app().pickMenu(Game::kSlowCommand);
  EXPECT_TRUE(g.slow);
  EXPECT_FLOAT_EQ(h.app().frameInterval(), 0.2f);
  EXPECT_EQ(menus.label(sub, 3), "Turn Slow Off");

  // Fast turns Slow off and runs three ticks a frame at 30 frames a second.
  h.app().pressKey('f');
  EXPECT_TRUE(g.fast);
  EXPECT_FALSE(g.slow);
  EXPECT_FLOAT_EQ(h.app().frameInterval(), 1.0f / 30.0f);
  EXPECT_EQ(menus.label(sub, 3), "Turn Slow On");
  EXPECT_EQ(menus.label(sub, fastAt), "Turn Fast Off");
  const int before = g.frameCounter;
  h.tick(10);
  EXPECT_EQ(g.frameCounter - before, 30);
  {
    ScopedDrawRecording rec;
    g.onDraw();
    EXPECT_TRUE(rec.drewText(std::to_string(g.fpsShown) + " fps   Fast (x3)"));
  }

  h.app().pickMenu(Game::kSlowCommand);
  EXPECT_FALSE(g.fast);
  EXPECT_EQ(menus.label(sub, fastAt), "Turn Fast On");
  h.app().pickMenu(Game::kSlowCommand);
  EXPECT_FLOAT_EQ(h.app().frameInterval(), 1.0f / 30.0f);
  EXPECT_EQ(menus.label(sub, 3), "Turn Slow On");
}

TEST_F(GameCommands, CreepAttackKeyIsAWithoutShift) {
  h.app().pressKey('a');
  EXPECT_EQ(countOf<Creep>(g), 3);  // ten peeps: the minimum of three
  h.app().setModifiers(true);
  h.app().pressKey('A');  // Shift+A does nothing
  EXPECT_EQ(countOf<Creep>(g), 3);
}

TEST_F(GameCommands, SaveWritesTheBuiltInValuesAndReloadChangesOnlyWhatPlayReads) {
  ScopedWorkingDirectory dir;
  const float peepPrice = g.costs[0];
  dir.write("Verlomba.ini", "kWorkBuildingPayout = 0.2\nkPeepCost = 0.2\n");
  h.app().pickMenu(Game::kReloadTuningCommand);
  EXPECT_FLOAT_EQ(kWorkBuildingPayout, 0.2f);
  EXPECT_EQ(g.costs[0], peepPrice);  // prices were read when the palette was made

  h.app().pickMenu(Game::kSaveTuningCommand);
  const std::string saved = dir.read("Verlomba-saved.ini");
  EXPECT_NE(saved.find("kWorkBuildingPayout = 0.050000\n"), std::string::npos);
  EXPECT_EQ(saved.find("0.200000"), std::string::npos);
}

// The notice drawn beside the population line, if any.
const RecordedText* noticeIn(const ScopedDrawRecording& rec) {
  for (const RecordedText& t : rec.textRuns()) {
    if (t.y == 666.0f && t.text.rfind("Population", 0) != 0) return &t;
  }
  return nullptr;
}

TEST_F(GameCommands, SaveTellsThePlayerInTheWindowForAFewSeconds) {
  ScopedWorkingDirectory dir;
  h.app().pickMenu(Game::kSaveTuningCommand);
  {
    ScopedDrawRecording rec;
    g.onDraw();
    const RecordedText* notice = noticeIn(rec);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->text, "Saved Verlomba-saved.ini");
    // Right-aligned with the field, clear of the population.
    EXPECT_EQ(notice->x + 6.0f * notice->text.size(), 650.0f);
  }

  std::filesystem::remove("Verlomba-saved.ini");
  std::filesystem::create_directories("Verlomba-saved.ini/kept");
  h.app().advanceSeconds(2.0f);
  h.app().pickMenu(Game::kSaveTuningCommand);
  h.app().advanceSeconds(3.0f);
  {
    ScopedDrawRecording rec;
    g.onDraw();
    const RecordedText* notice = noticeIn(rec);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->text, "Could not save Verlomba-saved.ini: Is a directory");
    EXPECT_EQ(notice->color.r, 1.0f);
    EXPECT_EQ(notice->color.g, 0.0f);
  }
  EXPECT_TRUE(std::filesystem::is_directory("Verlomba-saved.ini/kept"));
  h.app().advanceSeconds(1.5f);
  ScopedDrawRecording rec;
  g.onDraw();
  EXPECT_FALSE(noticeIn(rec));
}

TEST_F(GameCommands, PauseHoldsTheWorldAndItsClockButNotTheZoom) {
  h.tick(10);
  h.app().pressKey('p');
  const std::string paused = describeWorld(g);
  const float money = g.money;
  h.app().clickAtWorld(102.0f, 182.0f);  // the peep on the palette: buying waits
  h.app().scrollWheel(1);
  h.tick(90);
  EXPECT_EQ(g.money, money);
  EXPECT_GT(h.app().zoom(), 1.0f);
  h.app().pickMenu(Game::kPauseCommand);
  EXPECT_FALSE(g.paused);
  h.app().setZoom(1.0f);
  g.zoomLevel = 0;
  EXPECT_EQ(describeWorld(g), paused);
  h.tick();
  EXPECT_NE(describeWorld(g), paused);
}

// The help card pauses the game; any key or click closes it without acting
// and gives back the pause as it was.
TEST_F(GameCommands, HelpCardPausesAndAnyKeyOrClickClosesIt) {
  h.app().pressKey('h');
  EXPECT_TRUE(g.helpShown);
  EXPECT_TRUE(g.paused);
  {
    ScopedDrawRecording rec;
    g.onDraw();
    EXPECT_TRUE(rec.drewText("move the view while zoomed in"));
    EXPECT_FALSE(rec.drewText("Paused"));
  }
  const float money = g.money;
  h.app().clickAtWorld(102.0f, 182.0f);  // the palette's peep: not bought
  EXPECT_FALSE(g.helpShown);
  EXPECT_FALSE(g.paused);
  h.tick();
  EXPECT_EQ(g.money, money);

  h.app().pressKey('p');
  g.onKey(kKeyF1);
  EXPECT_TRUE(g.helpShown);
  h.app().pressKey('a');  // closes the card, attacks nothing
  EXPECT_FALSE(g.helpShown);
  EXPECT_TRUE(g.paused);
  EXPECT_EQ(countOf<Creep>(g), 0);
  g.showHelp();
  h.app().beginViewDrag(400.0f, 400.0f);  // the middle button
  EXPECT_FALSE(g.helpShown);
}

std::string edited(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST_F(GameCommands, SaveAndLoadCityFromTheMenuComeBackToTheSavedWorld) {
  ScopedWorkingDirectory dir;
  h.tick(40);
  h.app().setZoom(2.0f);
  h.app().moveViewBy(-100.0f, 30.0f);
  h.app().pickMenu(Game::kSaveCityCommand);
  const std::string saved = describeWorld(g);
  h.tick(100);
  ASSERT_NE(describeWorld(g), saved);
  g.onKey(kKeyHome);
  h.app().pickMenu(Game::kLoadCityCommand);
  EXPECT_EQ(describeWorld(g), saved);
  EXPECT_EQ(h.app().viewCentre().x, 350.0f);  // the view as it was saved
  EXPECT_EQ(h.app().viewCentre().y, 415.0f);
  ScopedDrawRecording rec;
  g.onDraw();
  ASSERT_TRUE(noticeIn(rec));
  EXPECT_EQ(noticeIn(rec)->text, "Loaded Verlomba-city.txt");
}

// Whatever keeps a city file from loading, standard error and the notice
// under the field say it in the same words, and the notice fits the window.
TEST_F(GameCommands, LoadCitySaysWhyInOneWordingOnStandardErrorAndInTheWindow) {
  ScopedWorkingDirectory dir;
  ASSERT_EQ(mkfifo(kCityFileName, 0644), 0);
  const std::string longToken(1 << 20, '7');
  for (const std::string& text : {std::string(), "verlomba-city 2\nclock " + longToken + "\n"}) {
    if (!text.empty()) {
      std::filesystem::remove(kCityFileName);
      dir.write(kCityFileName, text);
    }
    testing::internal::CaptureStderr();
    h.app().pickMenu(Game::kLoadCityCommand);
    const std::string said = testing::internal::GetCapturedStderr();
    const std::string lead = "verlomba: cannot load Verlomba-city.txt: ";
    ASSERT_EQ(said.rfind(lead, 0), 0u) << said;
    const std::string reason = said.substr(lead.size(), said.size() - lead.size() - 1);
    EXPECT_NE(reason.find(text.empty() ? "FIFO" : "7777777..."), std::string::npos) << reason;
    ScopedDrawRecording rec;
    g.onDraw();
    const RecordedText* notice = noticeIn(rec);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->text, "Could not load Verlomba-city.txt: " + reason);
    EXPECT_GT(notice->x, 0.0f);
  }
}

// Replaces word `index` (from the end when negative) of the first line that
// starts with `line`.
std::string withWord(std::string text, const std::string& line, int index, const std::string& to) {
  const size_t start = text.find("\n" + line + " ") + 1;
  EXPECT_NE(start, 0u) << line;
  const size_t end = text.find('\n', start);
  std::vector<size_t> starts;
  for (size_t i = start; i < end; ++i) {
    if (i == start || text[i - 1] == ' ') starts.push_back(i);
  }
  const size_t at = starts.at(index < 0 ? starts.size() + index : index);
  const size_t stop = std::min(text.find(' ', at), end);
  return text.replace(at, stop - at, to);
}

// Every file that is not whole and sound is refused as a whole, with one
// line saying why, and the running city, tuning and generator stay as they
// were.
TEST_F(GameCommands, HostileCityFilesAreRefusedAndChangeNothing) {
  h.tick(40);
  std::string good;
  std::string problem;
  ASSERT_TRUE(writeCity(g, good, problem)) << problem;
  // Were anything of a refused file taken, this price would show it.
  good = edited(good, "tune kPeepCost 0.05", "tune kPeepCost 0.5");
  int count = 0;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) ++count;
  const std::string objects = "\nobjects " + std::to_string(count) + "\n";
  const std::string tool = std::to_string(g.tool->serial());
  // More people than a city holds, made past the game's own limits.
  std::vector<Peep*> crowd;
  while (g.headCount() <= Game::kMaxAgents) crowd.push_back(new Peep(g, 400.0f, 400.0f, Peep::kRested));
  std::string crowded;
  ASSERT_TRUE(writeCity(g, crowded, problem)) << problem;
  for (Peep* p : crowd) delete p;
  new MoneyPiece(g, 0.05f, 400.0f, 400.0f, 0);
  std::string paid;
  ASSERT_TRUE(writeCity(g, paid, problem)) << problem;
  delete g.worldHead;
  const std::string longToken(1 << 20, '7');
  const struct {
    std::string text;
    std::string says;
  } cases[] = {
      {"", "not a Verlomba city file"},
      {edited(good, "verlomba-city 2", "verlomba-city 3"), "version 3 of the format"},
      {good.substr(0, good.size() / 2), "cut short"},
      {good.substr(0, good.size() - 4), "cut short"},
      {edited(good, "zone 1 ", "castle 1 "), "unknown kind \"castle\""},
      {edited(good, "tree 3 ", "tree 2 "), "serial 2 appears twice"},
      {edited(good, "tree 3 ", "tree 999 "), "out of the list's order"},
      {edited(good, "\nhand 0 ", "\nhand 777 "), "no object has serial 777"},
      {edited(good, "\ngame 0.", "\ngame nan "), "out of range"},
      {edited(good, "\ngame 0.", "\ngame inf "), "out of range"},
      {edited(good, "\ngame 0.", "\ngame 1e30 "), "out of range"},
      {edited(good, "\ngame 0.", "\ngame 0x1p3 "), "is not a number"},
      {edited(good, "\ngame 0.", "\ngame +0."), "is not a number"},
      {edited(good, "\ngame 0.", "\ngame 1e99 "), "is not a number"},
      {edited(good, "\ngame 0.", "\ngame 1e-50 "), "is not a number"},
      {edited(good, objects, "\nobjects 99999999\n"), "out of range"},
      {edited(good, objects, "\nobjects 20001\n"), "out of range"},
      {edited(good, objects, "\nobjects " + std::to_string(count - 1) + "\n"), "\"hand\" expected"},
      {edited(good, "tune kWorkBuildingCapacity 5", "tune kWorkBuildingCapacity 65"), "out of its bounds"},
      {edited(good, " 1\npalette", " 2\npalette"), "the play area is not a zone"},
      {edited(good, "\nhand 0 " + tool, "\nhand " + tool + " " + tool), "the hand holds the cursor tool"},
      {withWord(good, "palette", 1, "2"), "a palette item is in play"},
      {withWord(good, "game", 1, "5"), "5 is out of range"},
      {withWord(good, "game", 1, "-3"), "-3 is out of range"},
      {withWord(good, "palette", 2, "-0.5"), "-0.5 is out of range"},
      {withWord(good, "palette", 2, "9999999"), "9999999 is out of range"},
      {withWord(paid, "money", 9, "9999999"), "9999999 is out of range"},
      {withWord(good, "fountain", -1, "9999999"), "9999999 is out of range"},
      {withWord(good, "peep", 14, "9336490"), "9336490 is out of range"},  // a turn rate
      {withWord(good, "sleep", -2, "3"), "3 is out of range"},             // two beds
      {crowded, "97 peeps; a city holds 96 at most"},
      {withWord(good, "clock", 1, "9000000001"), "9000000001 is out of range"},
      {withWord(good, "game", 10, "99999"), "99999 is out of range"},  // peeps made past the serials
      {withWord(good, "game", 11, "99999"), "99999 is out of range"},
      {withWord(good, "game", 1, "\x1b]0;owned\x07\x1b[2J"),
       "\"\\x1b]0;owned\\x07\\x1b[2J\" is not a number"},
      {withWord(good, "game", 1, std::string("0.1\0", 4) + "x"), "\"0.1\\x00x\" is not a number"},
      {withWord(good, "game", 1, longToken), "\"" + longToken.substr(0, 40) + "...\" is not a number"},
      {edited(good, "sleep 25 1 0 0", "sleep 25 1 0 1"), "a building or tower marked for removal"},
      {edited(good, " grown\n", " blobs\n"), "cut short"},
      {edited(good, "\nend", "\nend\nmore"), "text after the end"},
      {good + std::string(kCityFileLimit, '#'), "larger than 4 MiB"},
      {good + std::string(30000, '\n'), "more lines than any city has"},
  };
  const std::string before = describeWorld(g);
  for (const auto& c : cases) {
    problem.clear();
    EXPECT_FALSE(readCity(g, c.text, problem)) << c.says;
    EXPECT_NE(problem.find(c.says), std::string::npos) << problem << " / " << c.says;
    EXPECT_LT(problem.size(), 120u);
    for (char ch : problem) EXPECT_TRUE(ch >= 0x20 && ch < 0x7f) << problem;
    EXPECT_EQ(describeWorld(g), before) << c.says;
    EXPECT_EQ(kPeepCost, 0.05f) << c.says;
  }
  ASSERT_TRUE(readCity(g, good, problem)) << problem;
  EXPECT_EQ(kPeepCost, 0.5f);
}

}  // namespace
