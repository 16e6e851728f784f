#include "FreshGame.h"
#include "agents/FreeAnchor.h"
#include "agents/Peep.h"

namespace {

using GameServices = FreshGame;

// Offers its one anchor wherever it is asked.
class AnchorHolder : public WorldObject {
 public:
  using WorldObject::WorldObject;
  Anchor* slotAt(float, float) override { return &anchor; }
  FreeAnchor anchor;
};

TEST_F(GameServices, ThePalettePeepCountsAndNoMoreThan96AgentsSpawn) {
  EXPECT_EQ(g.agentCount, 10 + 1);  // the palette peep counts as an agent too
  clearWorld(g);
  g.agentCount = 90;  // as if 90 agents were alive elsewhere
  g.spawnPeeps(10, Peep::kRested);
  EXPECT_EQ(countOf<Peep>(g), 6);
  EXPECT_EQ(g.agentCount, 96);
  // At the cap, and past it, nothing more.
  g.spawnPeeps(10, Peep::kRested);
  g.agentCount = 120;
  g.spawnPeeps(5, Peep::kRested);
  EXPECT_EQ(countOf<Peep>(g), 6);
}

TEST_F(GameServices, InactiveObjectsOfferNoAnchorsAndOnlySelectedAgentsTakeOrders) {
  clearWorld(g);
  auto* active = new AnchorHolder(g);
  (new AnchorHolder(g))->inactive = true;  // newer, so asked first
  EXPECT_EQ(g.anchorAt(0, 0, nullptr), &active->anchor);

  Peep agent(g, 10, 10, Peep::kRested);
  Peep other(g, 50, 50, Peep::kRested);
  other.setSelected(true);
  g.orderSelected(300, 200);
  EXPECT_TRUE(other.hasTarget);
  EXPECT_FALSE(agent.hasTarget);
}

}  // namespace
