#include <gtest/gtest.h>

#include <cmath>

#include "agents/Peep.h"
#include "buildings/SleepBuilding.h"
#include "buildings/WorkBuilding.h"
#include "draw/RecordingDrawBackend.h"
#include "support/HeadlessGame.h"
#include "tuning/Tuning.h"
#include "world/MoneyPiece.h"
#include "world/Zone.h"

namespace {

const Rect kPlot{384, 416, 384, 416};

// Nothing but the play area, so every peep in the world came from a building.
Game& emptyWorld(HeadlessGame& h) {
  Game& g = h.game();
  clearWorld(g);
  g.zone = new Zone(g, Rect{150, 650, 150, 650});
  return g;
}

// Offers n peeps of a state standing in the building; returns how many it took.
int admit(Building& b, int n, int state) {
  int taken = 0;
  for (int i = 0; i < n; ++i) {
    Peep p(*b.owner, 400, 400, state);
    b.affect(p);
    taken += p.destroyRequested;
  }
  return taken;
}

// Live peeps of a state standing on the plot.
int peepsOut(Game& g, int state) {
  int n = 0;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    auto* p = dynamic_cast<Peep*>(o);
    if (p && p->state == state && contains(kPlot, p->position.x, p->position.y)) ++n;
  }
  return n;
}

void updates(Building& b, int n) {
  for (int i = 0; i < n; ++i) b.update();
}

TEST(SleepBuilding, SleepersWakeTogetherFasterAtNight) {
  HeadlessGame h;
  Game& g = emptyWorld(h);
  SleepBuilding s(g, kPlot, 3, 2);

  g.daylight = 0.0f;
  EXPECT_EQ(admit(s, 1, Peep::kTired), 1);
  EXPECT_EQ(s.population(), 1);
  updates(s, 89);
  EXPECT_EQ(s.doorSwing.openTo, 1.0f);
  EXPECT_EQ(admit(s, 1, Peep::kTired), 1);  // a late sleeper
  EXPECT_EQ(admit(s, 1, Peep::kTired), 0);  // no third bed
  updates(s, 1);
  EXPECT_EQ(s.doorSwing.openTo, 0.0f);
  updates(s, 10);
  EXPECT_EQ(s.occupants, 2);
  EXPECT_EQ(peepsOut(g, Peep::kRested), 0);
  updates(s, 1);  // the 101st night tick
  EXPECT_EQ(s.occupants, 0);
  EXPECT_EQ(s.restProgress, 0.0f);
  EXPECT_EQ(peepsOut(g, Peep::kRested), 2);

  {  // A rested peep standing inside is not taken: it is pushed out.
    Peep rested(g, 404, 400, Peep::kRested);
    s.affect(rested);
    EXPECT_FALSE(rested.destroyRequested);
    EXPECT_GT(s.separation(rested).x, 0.0f);
  }

  g.daylight = 1.0f;
  admit(s, 1, Peep::kTired);
  updates(s, 400);
  EXPECT_EQ(s.occupants, 1);
  updates(s, 1);
  EXPECT_EQ(s.occupants, 0);
  EXPECT_EQ(peepsOut(g, Peep::kRested), 3);
}

TEST(WorkBuilding, WorkersFinishSoonerInAFullBuildingAndEveryFullRoundPays) {
  HeadlessGame h;
  Game& g = emptyWorld(h);
  WorkBuilding w(g, kPlot, 3, 5);
  EXPECT_EQ(admit(w, 1, Peep::kTired), 0);

  for (int round = 1; round <= 2; ++round) {
    EXPECT_EQ(admit(w, 6, Peep::kRested), 5);
    updates(w, 400);
    EXPECT_EQ(w.occupants, 5);
    EXPECT_EQ(countOf<MoneyPiece>(g), 4 * (round - 1));
    updates(w, 1);
    EXPECT_EQ(w.occupants, 0);
    EXPECT_EQ(peepsOut(g, Peep::kTired), 5 * round);
    EXPECT_EQ(countOf<MoneyPiece>(g), 4 * round);
  }

  // Alone in a building for five, a worker needs 1235 ticks.
  admit(w, 1, Peep::kRested);
  updates(w, 1234);
  EXPECT_EQ(w.occupants, 1);
  updates(w, 1);
  EXPECT_EQ(w.occupants, 0);
  EXPECT_EQ(peepsOut(g, Peep::kTired), 11);

  // Empty, nothing advances and nothing is paid.
  const int pieces = countOf<MoneyPiece>(g);
  const float progress = w.payoutProgress;
  updates(w, 3000);
  EXPECT_EQ(w.payoutProgress, progress);
  EXPECT_EQ(countOf<MoneyPiece>(g), pieces);
}

TEST(WorkBuilding, NoPeepIsLostOrCountedTwice) {
  HeadlessGame h;
  Game& g = emptyWorld(h);
  WorkBuilding big(g, kPlot, 3, 1000);
  EXPECT_EQ(big.capacity, 64);
  EXPECT_EQ(admit(big, 70, Peep::kRested), 64);
  updates(big, 401);
  EXPECT_EQ(big.occupants, 0);  // every worker had a timer and came out
  EXPECT_EQ(peepsOut(g, Peep::kTired), 64);
  WorldObject* copy = big.clone();
  EXPECT_EQ(static_cast<WorkBuilding*>(copy)->capacity, 64);
  delete copy;

  // No places: nobody comes in, and nothing divides by the capacity.
  for (int cap : {0, -4}) {
    WorkBuilding work(g, kPlot, 3, cap);
    SleepBuilding sleep(g, kPlot, 3, cap);
    EXPECT_EQ(admit(work, 1, Peep::kRested) + admit(sleep, 1, Peep::kTired), 0);
    updates(work, 10);
    updates(sleep, 10);
    EXPECT_EQ(work.payoutProgress, 0.0f);
    EXPECT_EQ(sleep.restProgress, 0.0f);
    Peep p(g, 300, 300, Peep::kRested);
    float strength = 0;
    EXPECT_EQ(work.attraction(p, strength), 0.0f);
    EXPECT_TRUE(std::isfinite(strength) && std::isfinite(work.roomInset()));
    ScopedDrawRecording rec;
    work.draw();
    for (const RecordedShape& shape : rec.shapes()) {
      for (const RecordedVertex& v : shape.vertices) EXPECT_TRUE(std::isfinite(v.x));
    }
  }

  // A peep standing in two overlapping buildings is taken once.
  WorkBuilding other(g, kPlot, 3, 5);
  WorkBuilding same(g, kPlot, 3, 5);
  Peep p(g, 400, 400, Peep::kRested);
  other.affect(p);
  same.affect(p);
  EXPECT_EQ(other.occupants + same.occupants, 1);
}

// A whole game with one of each: rested peeps find work, work pays and
// tires them, tired peeps sleep and come out rested again.
TEST(SleepAndWork, TheEconomyRunsOnItsOwn) {
  HeadlessGame h;
  Game& g = h.game();
  auto* work = new WorkBuilding(g, {300, 332, 300, 332}, 3, kWorkBuildingCapacity);
  auto* sleep = new SleepBuilding(g, {460, 492, 460, 492}, 3, kSleepBuildingCapacity);
  const float startMoney = g.money;
  int workedOut = 0;
  int wokeUp = 0;
  for (int tick = 0; tick < 4000 && (wokeUp < 2 || g.money <= startMoney); ++tick) {
    const int workers = work->occupants;
    const int sleepers = sleep->occupants;
    h.tick();
    if (work->occupants < workers) workedOut += workers - work->occupants;
    if (sleepers > 0 && sleep->occupants == 0) wokeUp += sleepers;
  }
  EXPECT_GT(g.money, startMoney);
  EXPECT_GT(workedOut, 0);
  EXPECT_GE(wokeUp, 2);
}

}  // namespace
