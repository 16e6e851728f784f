#include <gtest/gtest.h>

#include <cmath>

#include "agents/Creep.h"
#include "agents/EmptyCity.h"
#include "buildings/WorkBuilding.h"
#include "doubles/RecordingDrawBackend.h"

namespace {

using CreepTest = EmptyCity;

TEST_F(CreepTest, AttackSizeFollowsThePopulation) {
  // At least three; one per four peeps, rounded down.
  const int peeps[] = {0, 15, 16, 41};
  const int creeps[] = {3, 3, 4, 10};
  for (int n = 0; n < 4; ++n) {
    SCOPED_TRACE(peeps[n]);
    clear();
    for (int i = 0; i < peeps[n]; ++i) new Peep(g, 400.0f, 400.0f, Peep::kRested);
    g.creepAttack();
    EXPECT_EQ(countOf<Creep>(g), creeps[n]);
    EXPECT_EQ(g.peepCount(), peeps[n]) << "creeps are not population";
    // They come in on the edge: inside, but not inside a shrunk area.
    const Vec2 p = static_cast<Creep*>(g.worldHead)->position;
    EXPECT_TRUE(contains(kCityArea, p.x, p.y) && !contains(grownBy(kCityArea, -1.0f), p.x, p.y));
  }

  // An attack is not held back by the agent cap.
  clear();
  g.spawnCreeps(Game::kMaxAgents + 4, 10);
  EXPECT_EQ(countOf<Creep>(g), Game::kMaxAgents + 4);
}

TEST_F(CreepTest, LeavesOnItsLastTickAndWalksOutPastTheEdge) {
  auto* creep = new Creep(g, 400.0f, 400.0f, 300);
  for (int i = 0; i < 299; ++i) creep->update();
  EXPECT_EQ(creep->state, Creep::kHunting);
  EXPECT_TRUE(creep->hasTarget) << "a hunting creep always has somewhere to go";
  creep->update();
  EXPECT_EQ(creep->state, Creep::kLeaving);
  EXPECT_FALSE(contains(kCityArea, creep->target.x, creep->target.y)) << "it heads beyond the edge";

  // Standing exactly on the edge is still inside; it goes once it is out.
  creep->position = {kCityArea.minX, 400.0f};
  creep->update();
  EXPECT_FALSE(creep->destroyRequested);
  for (int ticks = 0; !creep->destroyRequested && ticks < 500; ++ticks) creep->update();
  EXPECT_FALSE(contains(kCityArea, creep->position.x, creep->position.y));
}

TEST_F(CreepTest, TwoCreepsOnOneSpotGetNoPushRatherThanNaN) {
  auto* a = new Creep(g, 300.0f, 300.0f, 300);
  auto* onTop = new Creep(g, 300.0f, 300.0f, 300);
  EXPECT_EQ(a->avoidance(*onTop), (Vec2{}));
  onTop->update();
  EXPECT_FALSE(std::isnan(onTop->position.x) || std::isnan(onTop->position.y));
}

TEST_F(CreepTest, DrawingLeavesThePenAsItWas) {
  auto* creep = new Creep(g, 300.0f, 300.0f, 300);
  creep->setSelected(true);
  ScopedDrawRecording rec;
  creep->draw();
  EXPECT_EQ(rec.currentLineWidth(), 1.0f);
  creep->drawDebug();
  EXPECT_EQ(pen().alpha, 1.0f);
}

}  // namespace
