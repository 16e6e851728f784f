#include <filesystem>

#include "FreshGame.h"
#include "agents/Creep.h"
#include "app/GlutMenu.h"
#include "doubles/RecordingDrawBackend.h"
#include "support/TempDir.h"
#include "tuning/Tuning.h"

namespace {

using GameCommands = FreshGame;

TEST_F(GameCommands, SlowToggleSetsTheFrameRateAndShowsTheNextAction) {
  RecordingMenuBackend& menus = h.app().menuBackend();
  const int sub = menus.find(menus.attachedMenu())->items[0].subMenu;
  EXPECT_EQ(menus.label(sub, 3), "Turn Slow On");
  h.app().pickMenu(Game::kSlowCommand);
  EXPECT_TRUE(g.slow);
  EXPECT_FLOAT_EQ(h.app().frameInterval(), 0.2f);
  EXPECT_EQ(menus.label(sub, 3), "Turn Slow Off");
  h.app().pickMenu(Game::kSlowCommand);
  EXPECT_FLOAT_EQ(h.app().frameInterval(), 1.0f / 30.0f);
  EXPECT_EQ(menus.label(sub, 3), "Turn Slow On");
}

TEST_F(GameCommands, CreepAttackFromTheMenuAndTheKey) {
  h.app().pickMenu(Game::kCreepAttackCommand);
  EXPECT_EQ(countOf<Creep>(g), 3);  // ten peeps: the minimum of three
  h.app().pressKey('a');
  EXPECT_EQ(countOf<Creep>(g), 6);
  h.app().setModifiers(true);
  h.app().pressKey('A');  // Shift+A does nothing
  EXPECT_EQ(countOf<Creep>(g), 6);
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

}  // namespace
