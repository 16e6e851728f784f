#include <gtest/gtest.h>

#include "agents/Anchor.h"
#include "agents/Peep.h"
#include "support/HeadlessGame.h"
#include "world/Zone.h"

namespace {

class FixedAlignment : public WorldObject {
 public:
  FixedAlignment(Game& g, Vec2 v) : WorldObject(g), v_(v) {}
  Vec2 alignment(Peep&) override { return v_; }

 private:
  Vec2 v_;
};

class FakeAnchor : public Anchor {
 public:
  explicit FakeAnchor(int kind) : kind_(kind) {}
  Color3 color() const override { return {}; }
  float width() const override { return 4; }
  Vec2 position() const override { return {}; }
  Vec2 direction() const override { return {1, 0}; }
  bool isPassable() const override { return kind_ == 0; }
  int kind() const override { return kind_; }

 private:
  int kind_;
};

class AnchorHolder : public WorldObject {
 public:
  AnchorHolder(Game& g, int kind) : WorldObject(g), anchor(kind) {}
  Anchor* slotAt(float, float) override { return &anchor; }
  FakeAnchor anchor;
};

TEST(GameServices, FreshGameHoldsTheStartWorld) {
  HeadlessGame h;
  Game& g = h.game();
  EXPECT_EQ(countOf<Peep>(g), 10);
  EXPECT_EQ(g.peepCount(), 10);
  EXPECT_EQ(g.agentCount, 10 + 1);  // the palette peep counts as an agent too
  ASSERT_NE(g.zone, nullptr);
  EXPECT_TRUE(equals(g.playArea(), 150, 650, 150, 650));
  EXPECT_EQ(h.app().width(), 800.0f);
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (auto* p = dynamic_cast<Peep*>(o); p && !p->inactive) {
      EXPECT_TRUE(contains(g.playArea(), p->position.x, p->position.y));
    }
  }
}

TEST(GameServices, SpawnPeepsRespectsTheAgentCap) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  g.agentCount = 90;  // as if 90 agents were alive elsewhere
  g.spawnPeeps(10, Peep::kRested);
  EXPECT_EQ(countOf<Peep>(g), 6);
  EXPECT_EQ(g.agentCount, 96);
  g.spawnPeeps(10, Peep::kRested);
  EXPECT_EQ(countOf<Peep>(g), 6);
  g.agentCount = 120;
  g.spawnPeeps(5, Peep::kRested);
  EXPECT_EQ(countOf<Peep>(g), 6);
  clearWorld(g);
  g.agentCount = 0;
}

TEST(GameServices, SumsQueriesAndSelection) {
  HeadlessGame h;
  Game& g = h.game();
  clearWorld(g);
  Peep agent(g, 10, 10, Peep::kRested);
  new FixedAlignment(g, Vec2{0.8f, 0});
  new FixedAlignment(g, Vec2{0.8f, 0});
  EXPECT_EQ(g.alignmentSum(agent), (Vec2{1, 0}));

  // The kind filter passes over anchors of another kind.
  auto* door = new AnchorHolder(g, Anchor::kDoorKind);
  auto* post = new AnchorHolder(g, Anchor::kPostKind);  // newer, found first
  EXPECT_EQ(g.anchorAt(0, 0, nullptr), &post->anchor);
  EXPECT_EQ(g.anchorAt(0, 0, &door->anchor), &door->anchor);
  post->inactive = true;
  EXPECT_EQ(g.anchorAt(0, 0, nullptr), &door->anchor);

  Peep other(g, 50, 50, Peep::kRested);
  other.setSelected(true);
  EXPECT_EQ(g.selectedCount(), 1);
  g.orderSelected(300, 200);
  EXPECT_TRUE(other.hasTarget);
  EXPECT_FALSE(agent.hasTarget);
  g.deselectAll();
  EXPECT_EQ(g.selectedCount(), 0);
}

}  // namespace
