#include <cstdio>
#include <string>

#include "agents/Peep.h"
#include "buildings/WorkBuilding.h"
#include "doubles/HeadlessGame.h"
#include "doubles/RecordingDrawBackend.h"
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

// Whatever city the game takes, played on and saved, loads again and saves
// the same bytes: the game writes only what it reads, even at the ends of
// its clock (far past 32 bits of milliseconds), frame count and money.
TEST(LoadCity, ACityTheGameTakesPlaysOnIntoOneItTakesAgain) {
  std::string edge;
  {
    HeadlessGame h;
    h.tick(40);
    edge = cityOf(h.game());
  }
  const size_t clock = edge.find("\nclock ") + 7;
  edge.replace(clock, edge.find('\n', clock) - clock, "9000000000");
  const size_t game = edge.find("\ngame ") + 6;
  const size_t frame = edge.find(' ', edge.find(' ', game) + 1) + 1;
  edge.replace(game, edge.find(' ', frame) - game, "1 1 1125899906842624");
  const std::string cities[] = {edge, livedInCity(), lateSmallCity()};
  HeadlessGame h;
  Game& g = h.game();
  std::string problem;
  for (const std::string& city : cities) {
    ASSERT_TRUE(readCity(g, city, problem)) << problem;
    h.tick(60);
    const std::string played = cityOf(g);
    ASSERT_TRUE(readCity(g, played, problem)) << problem;
    EXPECT_TRUE(cityOf(g) == played);
  }
}

// Every shape of a frame of the game, vertex by vertex (the text shows the
// real time, which a resumed game does not share).
std::string frameOf(Game& g) {
  ScopedDrawRecording rec;
  g.onDraw();
  std::string out;
  char buf[128];
  for (const RecordedShape& s : rec.shapes()) {
    for (const RecordedVertex& v : s.vertices) {
      std::snprintf(buf, sizeof buf, "%a %a %a %a %a %a|", v.x, v.y, v.color.r, v.color.g, v.color.b,
                    v.color.a);
      out += buf;
    }
    out += '\n';
  }
  return out;
}

// Buys a work building, which its workers make smoke.
void buyWorkBuildingAndPlay(HeadlessGame& h) {
  h.game().money = 1.0f;
  const Rect cell = h.game().paletteCell(2);
  h.app().clickAtWorld((cell.minX + cell.maxX) / 2, (cell.minY + cell.maxY) / 2);
  h.tick(300);
  WorkBuilding* bought = nullptr;
  for (WorldObject* o = h.game().worldHead; o && !bought; o = o->nextObject())
    if (!o->inactive) bought = dynamic_cast<WorkBuilding*>(o);
  ASSERT_TRUE(bought);
  EXPECT_GT(bought->occupants, 0);
}

// A saved city resumed in another game is the original in every respect,
// its drawing included: a building bought after the resume puffs from its
// chimney as it would have in the original.
TEST(LoadCity, AResumedCityDrawsTheSameFramesAsTheOriginal) {
  std::string city;
  std::string original;
  {
    HeadlessGame h(4);
    h.tick(30);
    city = cityOf(h.game());
    buyWorkBuildingAndPlay(h);
    original = frameOf(h.game());
  }
  HeadlessGame h(9);
  buyWorkBuildingAndPlay(h);  // a game with a past of its own
  std::string problem;
  ASSERT_TRUE(readCity(h.game(), city, problem)) << problem;
  buyWorkBuildingAndPlay(h);
  EXPECT_TRUE(frameOf(h.game()) == original);
}

}  // namespace
