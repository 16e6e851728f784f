#include <gtest/gtest.h>

#include <string>

#include "app/GlutMenu.h"
#include "app/RecordingClient.h"
#include "doubles/RecordingMenuBackend.h"
#include "doubles/ScriptedApplication.h"

using Events = std::vector<std::string>;

TEST(GlutMenuTest, BuildsSubMenusAndEntriesWithinItsTables) {
  RecordingMenuBackend backend;
  GlutMenu menu(backend);
  menu.addSubMenu("Game");  // no root menu yet
  menu.addEntry("Lost", 1);
  EXPECT_EQ(menu.subMenuCount(), 0);

  menu.reset();
  const int root = menu.rootMenuId();
  menu.addEntry("Before any sub-menu", 1);
  EXPECT_EQ(backend.itemCount(root), 0);

  menu.addSubMenu("Game");
  menu.addEntry("Attack", 7);
  for (int i = 0; i < 30; ++i) menu.addEntry("Filler", 100 + i);
  EXPECT_EQ(backend.itemCount(menu.subMenuId(0)), GlutMenu::kMaxEntries);
  EXPECT_FALSE(menu.hasEntry(119));  // the 21st entry
  for (int i = 1; i < 13; ++i) menu.addSubMenu(("Sub " + std::to_string(i)).c_str());
  EXPECT_EQ(backend.itemCount(root), GlutMenu::kMaxSubMenus);  // the 13th was ignored

  const std::string seventy(70, 'x');
  menu.addEntry(seventy.c_str(), 200);
  EXPECT_EQ(std::string(menu.entry(11, 0)->label), std::string(63, 'x'));

  // Rebuilding replaces the root and forgets every record.
  menu.reset();
  EXPECT_TRUE(backend.find(root)->destroyed);
  EXPECT_NE(menu.rootMenuId(), root);
  EXPECT_EQ(backend.attachedMenu(), menu.rootMenuId());
  EXPECT_FALSE(menu.hasEntry(7));
}

TEST(GlutMenuTest, TogglesFlipBeforeTheCommandIsSentAndKeysFindEntries) {
  ScriptedApplication app;
  bool slow = false;
  // Notes the flag as the command arrives.
  struct FlagWatcher : RecordingClient {
    using RecordingClient::RecordingClient;
    const bool* flag = nullptr;
    void onMenuCommand(int id) override {
      RecordingClient::onMenuCommand(id);
      events.push_back(*flag ? "flag on" : "flag off");
    }
  } client(&app);
  client.flag = &slow;
  GlutMenu& menu = *app.menu();
  RecordingMenuBackend& backend = app.menuBackend();
  menu.reset();
  menu.addSubMenu("Game");
  menu.addEntry("Slow", 5, 's', &slow);
  const int game = menu.subMenuId(0);
  EXPECT_EQ(backend.label(game, 1), "Turn Slow On");

  backend.pick(5);  // as GLUT delivers it, through the menu callback
  EXPECT_EQ(backend.label(game, 1), "Turn Slow Off");
  EXPECT_EQ(client.events, (Events{"menu 5", "flag on"}));

  // A disabled toggle still flips but sends nothing.
  menu.setEnabled(5, false);
  EXPECT_EQ(backend.label(game, 1), "Slow [disabled]");
  client.events.clear();
  app.pickMenu(5);
  EXPECT_FALSE(slow);
  EXPECT_TRUE(client.events.empty());
  menu.setEnabled(5, true);

  // A label cut to its table size still shows whole in its toggle and
  // disabled forms.
  const std::string longLabel(80, 'y');
  bool flag = true;
  menu.addEntry(longLabel.c_str(), 6, 0, &flag);
  EXPECT_EQ(backend.label(game, 2), "Turn " + std::string(63, 'y') + " Off");
  menu.setEnabled(6, false);
  EXPECT_EQ(backend.label(game, 2), std::string(63, 'y') + " [disabled]");

  // Shortcuts are kept upper-case; handleKey swaps the case before looking up.
  EXPECT_FALSE(menu.handleKey('S'));
  EXPECT_TRUE(menu.handleKey('s'));
  app.pickMenu(42);  // unknown ids do nothing
  EXPECT_EQ(client.events, (Events{"menu 5", "flag on"}));
  int id = 0;
  EXPECT_FALSE(menu.findByKey(0, &id));  // 0 marks entries without a shortcut
}
