#include <string>

#include "agents/Peep.h"
#include "doubles/HeadlessGame.h"
#include "game/CityFile.h"
#include "gtest/gtest.h"
#include "replay/WorldDigest.h"

namespace {

std::string cityOf(Game& g) {
  std::string text;
  std::string problem;
  EXPECT_TRUE(writeCity(g, text, problem)) << problem;
  return text;
}

// A lived-in city of about a hundred objects: peeps, trees, bought
// buildings, and whatever the ticks made of them.
std::string livedInCity() {
  HeadlessGame h(7);
  Game& g = h.game();
  g.spawnPeeps(60, Peep::kRested);
  g.spawnTrees(15);
  for (int slot : {1, 2, 1}) {
    g.money = 1.0f;
    const Rect cell = g.paletteCell(slot);
    h.app().clickAtWorld((cell.minX + cell.maxX) / 2, (cell.minY + cell.maxY) / 2);
    h.tick(40);
  }
  h.tick(300);
  return cityOf(g);
}

// A city of a few objects made late: serials above all of the other's.
std::string lateSmallCity() {
  HeadlessGame h(5);
  clearWorld(h.game());
  h.game().nextSerial += 10000;
  h.game().spawnPeeps(3, Peep::kRested);
  h.tick(20);
  return cityOf(h.game());
}

// Loading over a loaded city, again and again, at any moment of play: with
// a drag under way, paused, with Debug View on. The sanitizers watch for
// anything of an old world still in use.
TEST(LoadCity, AgainAndAgainInOneGameKeepsNothingOfTheOldWorlds) {
  const std::string cities[] = {livedInCity(), lateSmallCity()};
  HeadlessGame h(3);
  Game& g = h.game();
  std::string problem;
  ASSERT_TRUE(readCity(g, cities[0], problem)) << problem;
  h.tick(45);
  const uint64_t played = worldDigest(g);
  for (int round = 0; round < 8; ++round) {
    if (round == 2) h.app().pickMenu(Game::kDebugViewCommand);
    if (round == 3) h.app().pressKey('p');
    if (round == 4) h.app().pressKey('p');
    if (round >= 4) {
      // A peep in hand, dragged on across the load.
      Peep* peep = nullptr;
      for (WorldObject* o = g.worldHead; o && !peep; o = o->nextObject())
        if (!o->inactive) peep = dynamic_cast<Peep*>(o);
      ASSERT_TRUE(peep);
      h.app().setMouseWorld(peep->position.x, peep->position.y);
      h.app().pressButton();
      h.app().setMouseWorld(peep->position.x + 20.0f, peep->position.y + 10.0f);
      h.tick(2);
    }
    ASSERT_TRUE(readCity(g, cities[(round + 1) % 2], problem)) << problem;
    h.tick(3);
    h.app().releaseButton();
    h.tick(42);
  }
  h.app().setMousePixel(0.0f, 0.0f);
  h.tick();
  ASSERT_TRUE(readCity(g, cities[0], problem)) << problem;
  h.tick(45);
  EXPECT_EQ(worldDigest(g), played);
}

// Drawing changes nothing of the game: paused, with Debug View's probe
// peep under the mouse frame after frame, the city saves the same.
TEST(LoadCity, APausedGameWithDebugViewSavesTheSameFramesApart) {
  HeadlessGame h;
  h.app().pickMenu(Game::kDebugViewCommand);
  h.app().setMouseWorld(400.0f, 400.0f);
  h.tick(5);
  h.app().pressKey('p');
  const std::string before = cityOf(h.game());
  h.app().setMouseWorld(420.0f, 380.0f);
  h.tick(90);
  EXPECT_EQ(cityOf(h.game()), before);
}

}  // namespace
