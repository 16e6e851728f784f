#include "FreshGame.h"
#include "agents/Creep.h"
#include "app/GlutMenu.h"
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

}  // namespace
