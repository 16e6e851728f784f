#include <gtest/gtest.h>

#include "agents/Peep.h"
#include "support/HeadlessGame.h"
#include "world/Zone.h"

namespace {

class HostilePeep : public Peep {
 public:
  using Peep::Peep;
  bool isHostile() const override { return true; }
};

TEST(Zone, OpensFromTheCentreAndFencesInTheCitysAgents) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  Zone* zone = new Zone(g, Rect{150, 650, 150, 650});
  g.zone = zone;
  EXPECT_TRUE(equals(zone->shownRect, 400, 400, 400, 400));
  zone->update();
  EXPECT_TRUE(equals(zone->shownRect, 275, 525, 275, 525));
  zone->update();
  EXPECT_TRUE(equals(zone->shownRect, 212.5f, 587.5f, 212.5f, 587.5f));
  for (int i = 0; i < 30; ++i) zone->update();
  ASSERT_TRUE(equals(zone->shownRect, 150, 650, 150, 650));

  Peep outside(g, 700, 400, Peep::kRested);
  EXPECT_EQ(zone->separation(outside), (Vec2{-5, 0}));
  EXPECT_EQ(zone->avoidance(outside), (Vec2{-90, 0}));

  Peep inside(g, 300, 400, Peep::kRested);
  EXPECT_EQ(zone->separation(inside), (Vec2{0, 0}));
  EXPECT_EQ(zone->avoidance(inside), (Vec2{0, 0}));

  Peep onEdge(g, 650, 400, Peep::kTired);
  EXPECT_EQ(zone->separation(onEdge), (Vec2{0, 0}));
  EXPECT_EQ(zone->avoidance(onEdge), (Vec2{-40, 0}));

  HostilePeep creep(g, 700, 400, 0);
  EXPECT_EQ(zone->separation(creep), (Vec2{0, 0}));
  EXPECT_EQ(zone->avoidance(creep), (Vec2{0, 0}));
}

}  // namespace
