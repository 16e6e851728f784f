#include <gtest/gtest.h>

#include <cmath>

#include "agents/EmptyCity.h"
#include "agents/Peep.h"
#include "buildings/SleepBuilding.h"
#include "buildings/WorkBuilding.h"
#include "world/MoneyPiece.h"

namespace {

const Rect kPlot{384, 416, 384, 416};

void updates(Building& b, int n) {
  for (int i = 0; i < n; ++i) b.update();
}

// Nothing but the play area, so every peep in the world came from a building.
class SleepWorkTest : public EmptyCity {
 protected:
  // Offers n peeps of a state standing in the building; returns how many it took.
  int admit(Building& b, int n, int state) {
    int taken = 0;
    for (int i = 0; i < n; ++i) {
      Peep p(g, 400, 400, state);
      b.affect(p);
      taken += p.destroyRequested;
    }
    return taken;
  }
  // Live peeps of a state standing on the plot.
  int peepsOut(int state) {
    int n = 0;
    for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
      auto* p = dynamic_cast<Peep*>(o);
      if (p && p->state == state && contains(kPlot, p->position.x, p->position.y)) ++n;
    }
    return n;
  }
};

TEST_F(SleepWorkTest, NoPeepIsLostOrCountedTwice) {
  WorkBuilding big(g, kPlot, 3, 1000);
  EXPECT_EQ(admit(big, 70, Peep::kRested), 64);
  updates(big, 401);
  EXPECT_EQ(big.occupants, 0);  // every worker had a timer and came out
  EXPECT_EQ(peepsOut(Peep::kTired), 64);

  // No places: nobody comes in, and nothing divides by the capacity.
  for (int cap : {0, -4}) {
    WorkBuilding work(g, kPlot, 3, cap);
    SleepBuilding sleep(g, kPlot, 3, cap);
    EXPECT_EQ(admit(work, 1, Peep::kRested) + admit(sleep, 1, Peep::kTired), 0);
    updates(work, 10);
    updates(sleep, 10);
    EXPECT_EQ(work.payoutProgress + sleep.restProgress, 0.0f);
    Peep p(g, 300, 300, Peep::kRested);
    float strength = 0;
    EXPECT_EQ(work.attraction(p, strength), 0.0f);
    EXPECT_TRUE(std::isfinite(strength) && std::isfinite(work.roomInset()));
  }

  // A peep standing in two overlapping buildings is taken once.
  WorkBuilding other(g, kPlot, 3, 5);
  WorkBuilding same(g, kPlot, 3, 5);
  Peep p(g, 400, 400, Peep::kRested);
  other.affect(p);
  same.affect(p);
  EXPECT_EQ(other.occupants + same.occupants, 1);
}

}  // namespace
