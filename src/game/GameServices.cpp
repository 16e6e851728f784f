#include <algorithm>
#include <cmath>

#include "agents/Anchor.h"
#include "agents/Peep.h"
#include "buildings/MilitaryBuilding.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "game/Game.h"
#include "world/WorldObject.h"

// Every service walks the list from the head and skips palette prototypes.
// The agent queries and objectAt pass over the objects whose reach does not
// hold the agent: their terms are exactly zero, and a sum that starts at +0
// comes out the same, bit for bit, without them.

namespace {

// The agents the avoidance reaches are drawn for; any other is asked of all.
bool isSteady(const Peep& agent) {
  return std::isfinite(agent.position.x) && std::isfinite(agent.position.y) && std::isfinite(agent.heading) &&
         agent.speed >= 0.0f && agent.speed <= Peep::kTopSpeed;
}

}  // namespace

Vec2 Game::separationSum(Peep& agent) {
  Vec2 sum;
  reachIndex.forEach(ReachIndex::kSeparation, agent.position, true, [&](WorldObject& o) {
    if (&o != &agent) sum += o.separation(agent);
  });
  return sum;
}

Vec2 Game::avoidanceSum(Peep& agent, bool drawTerms) {
  if (drawTerms) {
    setAlpha(0.5f);
    setColor(0.0f, 0.0f, 1.0f);
  }
  Vec2 sum;
  // The debug view draws every object's term, zero or not.
  const bool cull = !drawTerms && isSteady(agent);
  reachIndex.forEach(ReachIndex::kAvoidance, agent.position, cull, [&](WorldObject& o) {
    if (&o == &agent) return;
    const Vec2 term = o.avoidance(agent);
    if (drawTerms)
      drawLine(agent.position.x, agent.position.y, agent.position.x + term.x, agent.position.y + term.y);
    sum += term;
  });
  if (drawTerms) setAlpha(1.0f);
  return sum;
}

Vec2 Game::alignmentSum(Peep& agent) {
  Vec2 sum;
  reachIndex.forEach(ReachIndex::kAlignment, agent.position, true, [&](WorldObject& o) {
    if (&o != &agent) sum += o.alignment(agent);
  });
  clampLength(sum, 1.0f);
  return sum;
}

void Game::affectAll(Peep& agent) {
  reachIndex.forEach(ReachIndex::kAffect, agent.position, true, [&](WorldObject& o) {
    if (&o != &agent) o.affect(agent);
  });
}

WorldObject* Game::objectAt(float x, float y) {
  WorldObject* found = nullptr;
  reachIndex.forEach(ReachIndex::kPoint, Vec2{x, y}, true, [&](WorldObject& o) {
    if (!found && o.containsPoint(x, y)) found = &o;
  });
  return found;
}

Anchor* Game::anchorAt(float x, float y, const Anchor* like) {
  Anchor* found = nullptr;
  reachIndex.forEach(ReachIndex::kSlot, Vec2{x, y}, true, [&](WorldObject& o) {
    if (found) return;
    Anchor* a = o.slotAt(x, y);
    if (a && (!like || a->kind() == like->kind())) found = a;
  });
  return found;
}

WorldObject* Game::nearestPathObject(float x, float y, Vec2& point, float& distance, Vec2& direction) {
  WorldObject* best = nullptr;
  for (WorldObject* o = worldHead; o; o = o->nextObject()) {
    if (o->inactive) continue;
    Vec2 p;
    float d = 0.0f;
    Vec2 dir;
    if (!o->nearestPathPoint(x, y, p, d, dir)) continue;
    if (!best || d < distance) {
      best = o;
      point = p;
      distance = d;
      direction = dir;
    }
  }
  return best;
}

int Game::peepCount() {
  int count = 0;
  for (WorldObject* o = worldHead; o; o = o->nextObject()) {
    if (!o->inactive) count += o->population();
  }
  return count;
}

int Game::selectedCount() {
  int count = 0;
  for (WorldObject* o = worldHead; o; o = o->nextObject()) {
    if (!o->inactive && o->isSelected()) ++count;
  }
  return count;
}

void Game::orderSelected(float x, float y) {
  for (WorldObject* o = worldHead; o; o = o->nextObject()) {
    if (!o->inactive && o->isSelected()) o->orderTo(x, y);
  }
}

void Game::deselectAll() {
  for (WorldObject* o = worldHead; o; o = o->nextObject()) o->setSelected(false);
}

int Game::headCount() {
  int count = 0;
  for (WorldObject* o = worldHead; o; o = o->nextObject()) {
    if (!o->inactive && dynamic_cast<Peep*>(o)) ++count;
  }
  return count;
}

void Game::spawnPeeps(int count, int state) {
  int n = std::min(kMaxAgents - agentCount, kMaxAgents - headCount());
  if (count < n) n = count;
  for (int i = 0; i < n; ++i) {
    const Vec2 p = randomPoint(playArea());
    new Peep(*this, p.x, p.y, state);
  }
}
