#include "agents/Anchor.h"
#include "agents/Peep.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "game/Game.h"
#include "world/WorldObject.h"

// Every service walks the list from the head and skips palette prototypes.

Vec2 Game::separationSum(Peep& agent) {
  Vec2 sum;
  for (WorldObject* o = worldHead; o; o = o->nextObject()) {
    if (o->inactive || o == &agent) continue;
    sum += o->separation(agent);
  }
  return sum;
}

Vec2 Game::avoidanceSum(Peep& agent, bool drawTerms) {
  if (drawTerms) {
    setAlpha(0.5f);
    setColor(0.0f, 0.0f, 1.0f);
  }
  Vec2 sum;
  for (WorldObject* o = worldHead; o; o = o->nextObject()) {
    if (o->inactive || o == &agent) continue;
    const Vec2 term = o->avoidance(agent);
    if (drawTerms)
      drawLine(agent.position.x, agent.position.y, agent.position.x + term.x, agent.position.y + term.y);
    sum += term;
  }
  if (drawTerms) setAlpha(1.0f);
  return sum;
}

Vec2 Game::alignmentSum(Peep& agent) {
  Vec2 sum;
  for (WorldObject* o = worldHead; o; o = o->nextObject()) {
    if (o->inactive || o == &agent) continue;
    sum += o->alignment(agent);
  }
  clampLength(sum, 1.0f);
  return sum;
}

void Game::affectAll(Peep& agent) {
  for (WorldObject* o = worldHead; o; o = o->nextObject()) {
    if (o->inactive || o == &agent) continue;
    o->affect(agent);
  }
}

WorldObject* Game::objectAt(float x, float y) {
  for (WorldObject* o = worldHead; o; o = o->nextObject()) {
    if (!o->inactive && o->containsPoint(x, y)) return o;
  }
  return nullptr;
}

Anchor* Game::anchorAt(float x, float y, const Anchor* like) {
  for (WorldObject* o = worldHead; o; o = o->nextObject()) {
    if (o->inactive) continue;
    Anchor* a = o->slotAt(x, y);
    if (a && (!like || a->kind() == like->kind())) return a;
  }
  return nullptr;
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

void Game::spawnPeeps(int count, int state) {
  int n = kMaxAgents - agentCount;
  if (count < n) n = count;
  for (int i = 0; i < n; ++i) {
    const Vec2 p = randomPoint(playArea());
    new Peep(*this, p.x, p.y, state);
  }
}
