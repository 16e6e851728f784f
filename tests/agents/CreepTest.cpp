#include <gtest/gtest.h>

#include <cmath>

#include "agents/Creep.h"
#include "buildings/WorkBuilding.h"
#include "draw/RecordingDrawBackend.h"
#include "support/HeadlessGame.h"
#include "world/Zone.h"

namespace {

const Rect kArea{150.0f, 650.0f, 150.0f, 650.0f};

class CreepTest : public ::testing::Test {
 protected:
  void SetUp() override { emptyCity(); }
  // A world with only the play area in it.
  void emptyCity() {
    clearWorld(game);
    game.zone = new Zone(game, kArea);
  }
  HeadlessGame h;
  Game& game = h.game();
};

TEST_F(CreepTest, AttackSizeFollowsThePopulation) {
  // At least three; one per four peeps, rounded down.
  const int peeps[] = {0, 15, 16, 41};
  const int creeps[] = {3, 3, 4, 10};
  for (int n = 0; n < 4; ++n) {
    emptyCity();
    for (int i = 0; i < peeps[n]; ++i) new Peep(game, 400.0f, 400.0f, Peep::kRested);
    game.creepAttack();
    EXPECT_EQ(countOf<Creep>(game), creeps[n]) << peeps[n] << " peeps";
    EXPECT_EQ(game.peepCount(), peeps[n]) << "creeps are not population";
    auto* newest = dynamic_cast<Creep*>(game.worldHead);
    ASSERT_TRUE(newest);
    const Vec2 p = newest->position;  // on the edge: inside, but not inside a shrunk area
    EXPECT_TRUE(contains(kArea, p.x, p.y) && !contains(grownBy(kArea, -1.0f), p.x, p.y))
        << p.x << ", " << p.y;
  }

  // An attack is not held back by the agent cap.
  emptyCity();
  game.spawnCreeps(Game::kMaxAgents + 4, 10);
  EXPECT_EQ(countOf<Creep>(game), Game::kMaxAgents + 4);
}

TEST_F(CreepTest, LeavesOnItsLastTickAndWalksOutPastTheEdge) {
  auto* creep = new Creep(game, 400.0f, 400.0f, 300);
  for (int i = 0; i < 299; ++i) creep->update();
  EXPECT_EQ(creep->state, Creep::kHunting);
  EXPECT_TRUE(creep->hasTarget) << "a hunting creep always has somewhere to go";

  creep->update();
  EXPECT_EQ(creep->state, Creep::kLeaving);
  // Heads for a point 32 beyond the nearest edge.
  const Vec2 p = creep->position;
  EXPECT_EQ(creep->target, pushOutToEdge(grownBy(kArea, 32.0f), p.x, p.y));
  creep->update();
  EXPECT_EQ(creep->lifetime, 0) << "the count stops at zero";

  // Standing exactly on the edge is still inside; it goes once it is out.
  creep->position = {kArea.minX, 400.0f};
  creep->update();
  EXPECT_FALSE(creep->destroyRequested);
  for (int ticks = 0; !creep->destroyRequested && ticks < 500; ++ticks) creep->update();
  EXPECT_TRUE(creep->destroyRequested);
  EXPECT_FALSE(contains(kArea, creep->position.x, creep->position.y));
}

TEST_F(CreepTest, HuntsTheNearestPeepAndLeavesOnceOneIsFurious) {
  auto* creep = new Creep(game, 300.0f, 300.0f, 300);
  auto* far = new Peep(game, 400.0f, 300.0f, Peep::kRested);
  auto* asNear = new Peep(game, 300.0f, 400.0f, Peep::kRested);
  auto* outOfReach = new Peep(game, 300.0f, 428.0f, Peep::kRested);
  auto* other = new Creep(game, 310.0f, 300.0f, 300);

  creep->affect(*outOfReach);
  creep->affect(*other);
  EXPECT_FALSE(creep->hasTarget) << "neither a peep 128 away nor a creep is hunted";
  EXPECT_EQ(other->state, Creep::kHunting) << "creeps do not hit creeps";
  creep->affect(*far);
  creep->affect(*asNear);
  EXPECT_EQ(creep->target, far->position) << "only a nearer peep changes the target";

  // The hit reaches up to, not including, 26 units.
  auto* edge = new Peep(game, 326.0f, 300.0f, Peep::kRested);
  creep->affect(*edge);
  EXPECT_EQ(edge->state, Peep::kRested);
  EXPECT_EQ(creep->target, edge->position) << "but it is nearer, so it is hunted";

  auto* victim = new Peep(game, 300.0f, 325.0f, Peep::kRested);
  victim->anger = 0.95f;
  creep->affect(*victim);
  EXPECT_EQ(victim->anger, 1.0f);
  EXPECT_EQ(creep->state, Creep::kLeaving) << "in the very call that made the peep furious";

  // A leaving creep no longer hunts, but it still hits what it touches.
  const Vec2 before = creep->target;
  auto* late = new Peep(game, 300.0f, 310.0f, Peep::kRested);
  creep->affect(*late);
  EXPECT_EQ(creep->target, before);
  EXPECT_FLOAT_EQ(late->anger, 0.1f);
}

TEST_F(CreepTest, RepelsPeepsAndKeepsOtherCreepsAtArmsLength) {
  auto* a = new Creep(game, 300.0f, 300.0f, 300);
  auto* b = new Creep(game, 308.0f, 300.0f, 300);
  auto* peep = new Peep(game, 300.0f, 332.0f, Peep::kRested);
  auto* outside = new Peep(game, 364.0f, 300.0f, Peep::kRested);
  auto* onTop = new Creep(game, 300.0f, 300.0f, 300);

  EXPECT_EQ(a->avoidance(*b), (Vec2{6.0f, 0.0f}));
  EXPECT_EQ(a->avoidance(*peep), (Vec2{0.0f, 12.0f}));
  EXPECT_EQ(a->avoidance(*outside), (Vec2{}));
  // Two creeps on one spot get no push rather than NaN positions.
  EXPECT_EQ(a->avoidance(*onTop), (Vec2{}));
  onTop->update();
  EXPECT_FALSE(std::isnan(onTop->position.x) || std::isnan(onTop->position.y));
}

TEST_F(CreepTest, DrawsItsStateAndLeavesThePenAsItWas) {
  auto* creep = new Creep(game, 300.0f, 300.0f, 300);
  creep->setState(Creep::kLeaving);
  creep->setSelected(true);
  ScopedDrawRecording rec;
  creep->draw();
  const auto bodies = rec.shapesOf(Primitive::Polygon);
  ASSERT_FALSE(bodies.empty());
  EXPECT_EQ(bodies[0]->vertices[0].color, (Rgba{0.2f, 1.0f, 0.2f, 1.0f})) << "green once leaving";
  EXPECT_EQ(rec.shapesOf(Primitive::LineLoop).back()->vertices[0].lineWidth, 3.0f) << "selected";
  EXPECT_EQ(rec.currentLineWidth(), 1.0f);
  creep->drawDebug();
  EXPECT_EQ(pen().alpha, 1.0f);
}

TEST_F(CreepTest, AHuntingCreepPassesForARestedPeepAtWork) {
  auto* work = new WorkBuilding(game, Rect{384.0f, 416.0f, 384.0f, 416.0f}, 3, 5);
  (new Creep(game, 400.0f, 400.0f, 300))->setState(Creep::kLeaving);
  new Creep(game, 400.0f, 400.0f, 300);
  h.tick();
  // Only the state number is asked: the hunting one goes in, the leaving one stays out.
  EXPECT_EQ(work->occupants, 1);
  EXPECT_EQ(countOf<Creep>(game), 1);
}

}  // namespace
