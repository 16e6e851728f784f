#include "EmptyWorld.h"
#include "agents/Peep.h"
#include "world/Zone.h"

namespace {

using ZoneTest = EmptyWorld;

class HostilePeep : public Peep {
 public:
  using Peep::Peep;
  bool isHostile() const override { return true; }
};

TEST_F(ZoneTest, OpensFromTheCentreAndFencesInTheCitysAgents) {
  Zone* zone = new Zone(g, Rect{150, 650, 150, 650});
  g.zone = zone;
  EXPECT_TRUE(equals(zone->shownRect, 400, 400, 400, 400));
  zone->update();
  EXPECT_TRUE(equals(zone->shownRect, 275, 525, 275, 525));
  for (int i = 0; i < 30; ++i) zone->update();
  ASSERT_TRUE(equals(zone->shownRect, 150, 650, 150, 650));

  Peep outside(g, 700, 400, Peep::kRested);
  EXPECT_EQ(zone->separation(outside), (Vec2{-5, 0}));
  EXPECT_EQ(zone->avoidance(outside), (Vec2{-90, 0}));

  // On the edge it is inside, but within 40 of it already steered in.
  Peep agent(g, 650, 400, Peep::kRested);
  EXPECT_EQ(zone->separation(agent), (Vec2{0, 0}));
  EXPECT_EQ(zone->avoidance(agent), (Vec2{-40, 0}));
  agent.position = {300, 400};
  EXPECT_EQ(zone->avoidance(agent), (Vec2{0, 0}));

  HostilePeep creep(g, 700, 400, 0);
  EXPECT_EQ(zone->separation(creep), (Vec2{0, 0}));
  EXPECT_EQ(zone->avoidance(creep), (Vec2{0, 0}));
}

}  // namespace
