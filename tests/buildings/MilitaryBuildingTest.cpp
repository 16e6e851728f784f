#include <gtest/gtest.h>

#include "agents/Creep.h"
#include "agents/EmptyCity.h"
#include "buildings/MilitaryBuilding.h"
#include "doubles/RecordingDrawBackend.h"
#include "draw/Colors.h"
#include "world/Burst.h"

namespace {

constexpr float kDegree = kTwoPi / 360.0f;
const Rect kFootprint{200.0f, 232.0f, 200.0f, 232.0f};  // centre (216, 216)

// A point d away from the centre in direction a (radians).
Vec2 around(float d, float a) {
  Vec2 p;
  setPolarAround(p, 216.0f, 216.0f, a, d);
  return p;
}

class MilitaryBuildingTest : public EmptyCity {
 protected:
  void SetUp() override { fort = new MilitaryBuilding(g, kFootprint, 3); }
  Creep* creepAt(Vec2 p) { return new Creep(g, p.x, p.y, 300); }
  void man(int soldiers) {
    fort->armed = true;
    fort->soldiers = soldiers;
  }

  MilitaryBuilding* fort = nullptr;
};

TEST_F(MilitaryBuildingTest, SwitchArmsAndDisarmsReleasingTiredSoldiers) {
  // Room 0 always covers the switch corner: on the building, off the switch.
  ASSERT_TRUE(fort->containsPoint(213.0f, 230.0f));
  EXPECT_FALSE(fort->onMousePress(213.0f, 230.0f));

  // Drawn at night, disarmed then armed through the game's own press
  // handling on the switch's corner: the lever goes up (black over the
  // switch's top), the lamps light and the soldier bar shows.
  g.daylight = 0.0f;
  for (bool armed : {false, true}) {
    SCOPED_TRACE(armed);
    if (armed) h.app().clickAtWorld(228.0f, 224.0f);
    EXPECT_EQ(fort->armed, armed);
    ScopedDrawRecording rec;
    fort->draw();
    const Rect lever = fort->switchRect();
    bool leverUp = false;
    for (const RecordedShape* s : rec.shapesWithColor(kBlack))
      leverUp = leverUp || (s->primitive == Primitive::Quads && s->point(0) == Vec2{lever.minX, lever.minY});
    EXPECT_EQ(leverUp, armed);
    EXPECT_EQ(rec.shapesWithColor({1.0f, 1.0f, 0.5f}).empty(), !armed);
    EXPECT_EQ(rec.shapesWithColor({0.8f, 0.8f, 0.8f}).empty(), !armed);
  }
  fort->update();
  EXPECT_EQ(fort->doorSwing.openTo, 1.0f);
  fort->soldiers = 2;
  fort->update();
  EXPECT_EQ(fort->doorSwing.openTo, 0.0f) << "full: doors close";

  EXPECT_TRUE(fort->onMousePress(222.0f, 214.0f));
  EXPECT_FALSE(fort->armed);
  EXPECT_EQ(fort->soldiers, 0);
  ASSERT_EQ(g.peepCount(), 2);
  EXPECT_EQ(static_cast<Peep*>(g.worldHead)->state, Peep::kTired);
}

TEST_F(MilitaryBuildingTest, RecruitsPeepsOfEitherStateButNeverCreeps) {
  auto* rested = new Peep(g, 216.0f, 216.0f, Peep::kRested);
  auto* tired = new Peep(g, 210.0f, 220.0f, Peep::kTired);
  auto* creep = creepAt({216.0f, 216.0f});
  float strength = 0.0f;

  fort->affect(*rested);
  EXPECT_EQ(fort->soldiers, 0) << "disarmed, it takes nobody";
  EXPECT_EQ(fort->attraction(*rested, strength), 0.0f);

  fort->armed = true;
  EXPECT_GT(fort->attraction(*rested, strength), 0.0f);
  EXPECT_EQ(fort->attraction(*creep, strength), 0.0f);
  fort->affect(*creep);
  fort->affect(*new Peep(g, 240.0f, 216.0f, Peep::kRested));  // outside
  // A peep some other building took in this tick is not counted again.
  auto* taken = new Peep(g, 216.0f, 216.0f, Peep::kRested);
  taken->destroyRequested = true;
  fort->affect(*taken);
  EXPECT_EQ(fort->soldiers, 0);

  fort->affect(*rested);
  fort->affect(*tired);
  EXPECT_EQ(fort->soldiers, 2);
  EXPECT_TRUE(rested->destroyRequested && tired->destroyRequested);
  auto* third = new Peep(g, 216.0f, 216.0f, Peep::kRested);
  fort->affect(*third);
  EXPECT_EQ(fort->soldiers, 2);
  EXPECT_FALSE(third->destroyRequested);
}

TEST_F(MilitaryBuildingTest, RangeGrowsWithSoldiersAndTheNearestCreepIsTheTarget) {
  fort->turretAngle = kPi;  // looking away, so nothing is shot here
  man(1);
  auto* far = creepAt(around(100.0f, 0.0f));
  fort->affect(*far);
  EXPECT_FALSE(fort->hasTarget) << "100 is beyond one soldier's 64";
  man(2);
  fort->affect(*far);
  EXPECT_TRUE(fort->hasTarget && fort->target == far->position);

  auto* nearer = creepAt({216.0f, 266.0f});
  auto* tie = creepAt({166.0f, 216.0f});
  fort->affect(*nearer);
  fort->affect(*tie);
  fort->affect(*far);
  EXPECT_EQ(fort->target, nearer->position) << "on a tie the held target stays";
  EXPECT_EQ(countOf<Burst>(g), 0);

  // A sighting lasts 30 ticks, and only while the target is in range.
  fort->targetFrame = g.frameCounter - 30;
  fort->update();
  EXPECT_TRUE(fort->hasTarget);
  fort->targetFrame = g.frameCounter - 31;
  fort->update();
  EXPECT_FALSE(fort->hasTarget);
  fort->affect(*far);
  fort->soldiers = 1;
  fort->update();
  EXPECT_FALSE(fort->hasTarget) << "out of range once a soldier is gone";
}

TEST_F(MilitaryBuildingTest, FiresWithinTenDegreesAtHuntingCreepsOnly) {
  man(2);
  auto* leaving = creepAt(around(50.0f, 0.0f));
  leaving->setState(Creep::kLeaving);
  fort->affect(*leaving);
  EXPECT_TRUE(fort->hasTarget) << "a leaving creep is aimed at but not shot again";

  fort->hasTarget = false;
  auto* wide = creepAt(around(50.0f, 11.0f * kDegree));
  fort->affect(*wide);
  EXPECT_EQ(wide->state, Creep::kHunting);
  EXPECT_EQ(countOf<Burst>(g), 0);

  fort->hasTarget = false;
  auto* close = creepAt(around(50.0f, -9.0f * kDegree));
  fort->affect(*close);
  EXPECT_EQ(close->state, Creep::kLeaving);
  EXPECT_EQ(countOf<Burst>(g), 2) << "the hit and the muzzle puff";
}

TEST_F(MilitaryBuildingTest, TurretTurnsOneDegreePerSoldierPerTickAndDrawsItsAim) {
  auto aimAt = [this](Vec2 p) {
    fort->hasTarget = true;
    fort->target = p;
    fort->targetFrame = g.frameCounter;
  };
  aimAt({216.0f, 266.0f});  // straight down the screen: 90 degrees
  fort->soldiers = 1;
  fort->update();
  EXPECT_EQ(fort->turretAngle, 0.0f) << "disarmed, it stands still";
  man(2);
  fort->update();
  EXPECT_NEAR(fort->turretAngle, 2.0f * kDegree, 1e-6f);
  fort->turretAngle = 89.5f * kDegree;
  fort->update();
  EXPECT_NEAR(fort->turretAngle, kPi / 2.0f, 1e-6f) << "no overshoot";

  // The short way round: anticlockwise towards the top.
  aimAt(around(50.0f, -kPi / 2.0f));
  fort->turretAngle = 0.0f;
  fort->update();
  EXPECT_NEAR(fort->turretAngle, -2.0f * kDegree, 1e-6f);

  // The aim rings sit on the barrel's line at the target's distance, so they
  // close on the target as the turret comes round.
  ScopedDrawRecording rec;
  fort->draw();
  const auto rings = rec.shapesWithColor({1.0f, 0.0f, 0.0f});
  ASSERT_EQ(rings.size(), 3u);
  Vec2 sum;
  for (const RecordedVertex& v : rings[0]->vertices) sum += Vec2{v.x, v.y};
  const Vec2 centre = scaled(sum, 1.0f / static_cast<float>(rings[0]->vertices.size()));
  EXPECT_LT(length(centre - around(50.0f, -2.0f * kDegree)), 1e-3f);
  EXPECT_EQ(pen().alpha, 1.0f);
  EXPECT_EQ(pen().width, 1.0f);

  // Without a target the turret keeps its angle.
  fort->hasTarget = false;
  fort->update();
  EXPECT_NEAR(fort->turretAngle, -2.0f * kDegree, 1e-6f);
}

}  // namespace
