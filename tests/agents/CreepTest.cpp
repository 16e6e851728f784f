#include <gtest/gtest.h>

#include <cmath>

#include "agents/Creep.h"
#include "buildings/WorkBuilding.h"
#include "draw/RecordingDrawBackend.h"
#include "support/HeadlessGame.h"
#include "world/Zone.h"

namespace {

const Rect kArea{150.0f, 650.0f, 150.0f, 650.0f};

// A world with only the play area in it.
void emptyCity(Game& game) {
  clearWorld(game);
  game.zone = new Zone(game, kArea);
}

bool onEdge(Vec2 p) {
  const bool onX = p.x == kArea.minX || p.x == kArea.maxX;
  const bool onY = p.y == kArea.minY || p.y == kArea.maxY;
  return contains(kArea, p.x, p.y) && (onX || onY);
}

TEST(Creep, AttackSizeFollowsThePopulation) {
  HeadlessGame h;
  Game& game = h.game();
  const int peeps[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 40, 41, 50};
  const int creeps[] = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 4, 10, 10, 12};
  for (int n = 0; n < 20; ++n) {
    emptyCity(game);
    for (int i = 0; i < peeps[n]; ++i) new Peep(game, 400.0f, 400.0f, Peep::kRested);
    game.creepAttack();
    EXPECT_EQ(countOf<Creep>(game), creeps[n]) << peeps[n] << " peeps";
    EXPECT_EQ(game.peepCount(), peeps[n]) << "creeps are not population";
    for (WorldObject* o = game.worldHead; o; o = o->nextObject()) {
      auto* c = dynamic_cast<Creep*>(o);
      if (!c) continue;
      EXPECT_TRUE(onEdge(c->position)) << c->position.x << ", " << c->position.y;
      EXPECT_EQ(c->state, Creep::kHunting);
      EXPECT_EQ(c->lifetime, 300);
    }
  }

  // An attack is not held back by the agent cap.
  emptyCity(game);
  game.spawnCreeps(Game::kMaxAgents + 4, 10);
  EXPECT_EQ(countOf<Creep>(game), Game::kMaxAgents + 4);
}

TEST(Creep, LeavesOnItsLastTickAndWalksOutPastTheEdge) {
  HeadlessGame h;
  Game& game = h.game();
  emptyCity(game);
  auto* creep = new Creep(game, 400.0f, 400.0f, 300);
  for (int i = 0; i < 299; ++i) creep->update();
  EXPECT_EQ(creep->state, Creep::kHunting);
  EXPECT_EQ(creep->lifetime, 1);
  EXPECT_TRUE(creep->hasTarget) << "a hunting creep always has somewhere to go";

  creep->update();
  EXPECT_EQ(creep->state, Creep::kLeaving);
  EXPECT_EQ(creep->lifetime, 0);
  // Heads for a point 32 beyond the nearest edge.
  const Vec2 p = creep->position;
  const Rect exitRect{kArea.minX - 32.0f, kArea.maxX + 32.0f, kArea.minY - 32.0f, kArea.maxY + 32.0f};
  EXPECT_EQ(creep->target, pushOutToEdge(exitRect, p.x, p.y));
  creep->update();
  EXPECT_EQ(creep->lifetime, 0) << "the count stops at zero";

  // Standing exactly on the edge is still inside; it goes once it is out.
  creep->position = {kArea.minX, 400.0f};
  creep->hasTarget = false;
  creep->update();
  EXPECT_FALSE(creep->destroyRequested);
  EXPECT_EQ(creep->target, (Vec2{kArea.minX - 32.0f, 400.0f}));
  int ticks = 0;
  while (!creep->destroyRequested && ticks < 500) {
    creep->update();
    ++ticks;
  }
  EXPECT_TRUE(creep->destroyRequested);
  EXPECT_FALSE(contains(kArea, creep->position.x, creep->position.y));
}

TEST(Creep, HuntsTheNearestPeepAndLeavesOnceOneIsFurious) {
  HeadlessGame h;
  Game& game = h.game();
  emptyCity(game);
  auto* creep = new Creep(game, 300.0f, 300.0f, 300);
  auto* far = new Peep(game, 400.0f, 300.0f, Peep::kRested);
  auto* farther = new Peep(game, 300.0f, 180.0f, Peep::kRested);
  auto* outOfReach = new Peep(game, 300.0f, 428.0f, Peep::kRested);
  auto* other = new Creep(game, 310.0f, 300.0f, 300);

  creep->affect(*outOfReach);
  creep->affect(*other);
  EXPECT_FALSE(creep->hasTarget) << "neither a peep 128 away nor a creep is hunted";
  creep->affect(*far);
  EXPECT_EQ(creep->target, far->position);
  creep->affect(*farther);
  EXPECT_EQ(creep->target, far->position) << "only a nearer peep changes the target";
  EXPECT_EQ(other->anger, 0.0f);
  EXPECT_EQ(other->state, Creep::kHunting) << "creeps do not hit creeps";
  EXPECT_EQ(far->state, Peep::kRested) << "no hit from 100 units";

  // The hit reaches up to, not including, 26 units.
  auto* edge = new Peep(game, 326.0f, 300.0f, Peep::kRested);
  creep->affect(*edge);
  EXPECT_EQ(edge->anger, 0.0f);
  EXPECT_EQ(edge->state, Peep::kRested);
  EXPECT_EQ(creep->target, edge->position) << "but it is nearer, so it is hunted";

  auto* victim = new Peep(game, 300.0f, 325.0f, Peep::kRested);
  victim->anger = 0.95f;
  creep->affect(*victim);
  EXPECT_EQ(victim->anger, 1.0f);
  EXPECT_EQ(victim->state, Peep::kTired);
  EXPECT_EQ(creep->state, Creep::kLeaving) << "in the very call that made the peep furious";

  // A leaving creep no longer hunts, but it still hits what it touches.
  const Vec2 before = creep->target;
  auto* late = new Peep(game, 300.0f, 310.0f, Peep::kRested);
  creep->affect(*late);
  EXPECT_EQ(creep->target, before);
  EXPECT_FLOAT_EQ(late->anger, 0.1f);
}

TEST(Creep, RepelsPeepsAndKeepsOtherCreepsAtArmsLength) {
  HeadlessGame h;
  Game& game = h.game();
  emptyCity(game);
  auto* a = new Creep(game, 300.0f, 300.0f, 300);
  auto* b = new Creep(game, 308.0f, 300.0f, 300);
  auto* peep = new Peep(game, 300.0f, 332.0f, Peep::kRested);
  auto* outside = new Peep(game, 364.0f, 300.0f, Peep::kRested);
  auto* onTop = new Creep(game, 300.0f, 300.0f, 300);

  EXPECT_EQ(a->avoidance(*b), (Vec2{6.0f, 0.0f}));
  EXPECT_EQ(b->avoidance(*a), (Vec2{-6.0f, 0.0f}));
  EXPECT_EQ(a->avoidance(*peep), (Vec2{0.0f, 12.0f}));
  EXPECT_EQ(a->avoidance(*outside), (Vec2{}));
  // Two creeps on one spot get no push rather than NaN positions.
  const Vec2 same = a->avoidance(*onTop);
  EXPECT_EQ(same, (Vec2{}));
  onTop->update();
  EXPECT_FALSE(std::isnan(onTop->position.x) || std::isnan(onTop->position.y));
}

TEST(Creep, DrawsItsStateAndItsHuntingRadius) {
  HeadlessGame h;
  Game& game = h.game();
  emptyCity(game);
  auto* creep = new Creep(game, 300.0f, 300.0f, 300);
  creep->heading = 0.0f;

  auto triangleOf = [](const RecordingDrawBackend& rec, Primitive p) -> const RecordedShape* {
    for (const RecordedShape* s : rec.shapesOf(p)) {
      if (s->vertices.size() == 3) return s;
    }
    return nullptr;
  };
  {
    ScopedDrawRecording rec;
    creep->draw();
    const RecordedShape* body = triangleOf(rec, Primitive::Polygon);
    const RecordedShape* outline = triangleOf(rec, Primitive::LineLoop);
    ASSERT_TRUE(body && outline);
    EXPECT_EQ(body->vertices[0].color, (Rgba{1.0f, 0.2f, 1.0f, 1.0f}));
    EXPECT_EQ(outline->vertices[0].color, body->vertices[0].color);
    // Pointing along +x: base 8 behind the position, tip 8 ahead.
    EXPECT_EQ(body->point(0), (Vec2{292.0f, 306.0f}));
    EXPECT_EQ(body->point(1), (Vec2{292.0f, 294.0f}));
    EXPECT_EQ(body->point(2), (Vec2{308.0f, 300.0f}));
  }
  creep->setState(Creep::kLeaving);
  creep->setSelected(true);
  {
    ScopedDrawRecording rec;
    creep->draw();
    const RecordedShape* body = triangleOf(rec, Primitive::Polygon);
    const RecordedShape* outline = triangleOf(rec, Primitive::LineLoop);
    ASSERT_TRUE(body && outline);
    EXPECT_EQ(body->vertices[0].color, (Rgba{0.2f, 1.0f, 0.2f, 1.0f}));
    EXPECT_EQ(outline->vertices[0].color, (Rgba{1.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(outline->vertices[0].lineWidth, 3.0f);
    EXPECT_EQ(rec.currentLineWidth(), 1.0f);
  }
  {
    ScopedDrawRecording rec;
    creep->drawDebug();
    bool circle = false;
    for (const RecordedShape* s : rec.shapesOf(Primitive::LineLoop)) {
      const RecordedVertex& v = s->vertices[0];
      if (v.color == Rgba{1.0f, 0.0f, 0.0f, 0.45f}) {
        circle = std::fabs(std::hypot(v.x - 300.0f, v.y - 300.0f) - 128.0f) < 1e-3f;
      }
    }
    EXPECT_TRUE(circle);
    EXPECT_EQ(pen().alpha, 1.0f);
  }
}

TEST(Creep, AHuntingCreepPassesForARestedPeepAtWork) {
  HeadlessGame h;
  Game& game = h.game();
  clearWorld(game);
  auto* work = new WorkBuilding(game, Rect{40.0f, 72.0f, 40.0f, 72.0f}, 3, 5);
  (new Creep(game, 56.0f, 56.0f, 300))->setState(Creep::kLeaving);
  new Creep(game, 56.0f, 56.0f, 300);
  h.tick();
  // Only the state number is asked, and a hunting creep's is a rested peep's.
  EXPECT_EQ(work->occupants, 1);
  ASSERT_EQ(countOf<Creep>(game), 1);
  for (WorldObject* o = game.worldHead; o; o = o->nextObject()) {
    if (auto* c = dynamic_cast<Creep*>(o)) {
      EXPECT_EQ(c->state, Creep::kLeaving);
    }
  }
}

}  // namespace
