#include <gtest/gtest.h>

#include <string>

#include "app/GlutMenu.h"
#include "app/RecordingClient.h"
#include "app/RecordingMenuBackend.h"
#include "app/ScriptedApplication.h"

using Events = std::vector<std::string>;

namespace {

// A client that looks at the flag when its command arrives.
class FlagWatcher : public RecordingClient {
 public:
  FlagWatcher(Application* app, const bool* flag) : RecordingClient(app), flag_(flag) {}
  void onMenuCommand(int id) override {
    RecordingClient::onMenuCommand(id);
    events.push_back(*flag_ ? "flag on" : "flag off");
  }

 private:
  const bool* flag_;
};

}  // namespace

TEST(GlutMenuTest, BuildsSubMenusAndEntries) {
  RecordingMenuBackend backend;
  GlutMenu menu(&backend);
  EXPECT_FALSE(menu.isReady());
  menu.addSubMenu("Game");  // no root menu yet
  menu.addEntry("Lost", 1);
  EXPECT_EQ(menu.subMenuCount(), 0);
  EXPECT_FALSE(menu.hasEntry(1));

  menu.reset();
  ASSERT_TRUE(menu.isReady());
  const int root = menu.rootMenuId();
  EXPECT_EQ(backend.attachedMenu(), root);
  menu.addEntry("Before any sub-menu", 1);
  EXPECT_EQ(backend.itemCount(root), 0);

  menu.addSubMenu("Game");
  menu.addEntry("Attack", 7, 'a');
  menu.addSeparator();
  const int game = menu.subMenuId(0);
  EXPECT_EQ(backend.label(root, 1), "Game");
  EXPECT_EQ(backend.find(root)->items[0].subMenu, game);
  EXPECT_EQ(backend.label(game, 1), "Attack");
  EXPECT_EQ(backend.label(game, 2), "---");
  EXPECT_EQ(menu.entry(0, 0)->key, 'A');  // shortcuts are stored upper-case
  EXPECT_EQ(menu.entry(0, 1)->id, -1);

  for (int i = 0; i < 30; ++i) menu.addEntry("Filler", 100 + i);
  EXPECT_EQ(menu.entryCount(0), GlutMenu::kMaxEntries);
  EXPECT_EQ(backend.itemCount(game), GlutMenu::kMaxEntries);
  EXPECT_TRUE(menu.hasEntry(117));
  EXPECT_FALSE(menu.hasEntry(118));  // the 21st entry

  for (int i = 1; i < 13; ++i) menu.addSubMenu(("Sub " + std::to_string(i)).c_str());
  EXPECT_EQ(menu.subMenuCount(), GlutMenu::kMaxSubMenus);
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
  EXPECT_EQ(menu.subMenuCount(), 0);
}

TEST(GlutMenuTest, TogglesRelabelAndFlipBeforeTheCommandIsSent) {
  ScriptedApplication app;
  bool slow = false;
  FlagWatcher client(&app, &slow);
  GlutMenu& menu = *app.menu();
  RecordingMenuBackend& backend = app.menuBackend();
  menu.reset();
  menu.addSubMenu("Game");
  menu.addEntry("Slow", 5, 0, &slow);
  const int game = menu.subMenuId(0);
  EXPECT_EQ(backend.label(game, 1), "Turn Slow On");

  app.pickMenu(5);
  EXPECT_TRUE(slow);
  EXPECT_EQ(backend.label(game, 1), "Turn Slow Off");
  EXPECT_EQ(client.events, (Events{"menu 5", "flag on"}));

  // Picks arrive from GLUT through the one menu callback.
  backend.pick(5);
  EXPECT_FALSE(slow);
  EXPECT_EQ(backend.label(game, 1), "Turn Slow On");
  EXPECT_EQ(client.events.back(), "flag off");

  // A disabled toggle still flips but sends nothing.
  menu.setEnabled(5, false);
  EXPECT_EQ(backend.label(game, 1), "Slow [disabled]");
  client.events.clear();
  app.pickMenu(5);
  EXPECT_TRUE(slow);
  EXPECT_TRUE(client.events.empty());
  menu.setEnabled(5, true);
  EXPECT_EQ(backend.label(game, 1), "Slow");

  // The shown forms of a full-length label are cut, never overrun.
  const std::string longLabel(80, 'y');
  bool flag = true;
  menu.addEntry(longLabel.c_str(), 6, 0, &flag);
  const std::string shown = backend.label(game, 2);
  EXPECT_EQ(shown.size(), 65u);
  EXPECT_EQ(shown.substr(0, 8), "Turn yyy");
  menu.setEnabled(6, false);
  EXPECT_EQ(backend.label(game, 2), std::string(63, 'y') + " [");
}

TEST(GlutMenuTest, FirstRecordWinsAndKeysFindEntries) {
  ScriptedApplication app;
  RecordingClient client(&app);
  GlutMenu& menu = *app.menu();
  RecordingMenuBackend& backend = app.menuBackend();
  bool first = false;
  bool second = false;
  menu.reset();
  menu.addSubMenu("One");
  menu.addEntry("Plain", 3, 'p');
  menu.addSubMenu("Two");
  menu.addEntry("First", 9, 0, &first);
  menu.addEntry("Second", 9, 'q', &second);

  // Even the second entry's own toggle set-up lands on the first record.
  EXPECT_EQ(backend.label(menu.subMenuId(1), 2), "Second");
  app.pickMenu(9);
  EXPECT_TRUE(first);
  EXPECT_FALSE(second);
  EXPECT_EQ(backend.label(menu.subMenuId(1), 1), "Turn First Off");
  EXPECT_EQ(backend.label(menu.subMenuId(1), 2), "Second");
  EXPECT_EQ(client.events, (Events{"menu 9"}));

  int id = 0;
  EXPECT_TRUE(menu.findByKey('Q', &id));
  EXPECT_EQ(id, 9);
  EXPECT_FALSE(menu.findByKey('q', &id));
  EXPECT_FALSE(menu.findByKey(0, &id));

  // handleKey swaps the case before looking the key up.
  EXPECT_TRUE(menu.handleKey('p'));
  EXPECT_FALSE(menu.handleKey('P'));
  EXPECT_EQ(client.events.back(), "menu 3");

  // Unknown ids do nothing; a separator's pick reaches the client as -1.
  client.events.clear();
  app.pickMenu(42);
  EXPECT_TRUE(client.events.empty());
  menu.addSeparator();
  backend.pick(-1);
  EXPECT_EQ(client.events, (Events{"menu -1"}));
}
