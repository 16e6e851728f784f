#include "agents/Creep.h"
#include "agents/Peep.h"
#include "game/FreshGame.h"
#include "world/Zone.h"

namespace {

using ZoneTest = EmptyWorld;

TEST_F(ZoneTest, OpensFromTheCentreAndFencesInTheCitysAgents) {
  Zone* zone = new Zone(g, Rect{150, 650, 150, 650});
  g.zone = zone;
  EXPECT_TRUE(equals(zone->shownRect, 400, 400, 400, 400));
  for (int i = 0; i < 31; ++i) zone->update();
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

  Creep creep(g, 700, 400, 100);
  EXPECT_EQ(zone->separation(creep), (Vec2{0, 0}));
  EXPECT_EQ(zone->avoidance(creep), (Vec2{0, 0}));
}

}  // namespace
