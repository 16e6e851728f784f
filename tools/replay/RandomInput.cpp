#include "replay/RandomInput.h"

#include <vector>

#include "agents/Peep.h"
#include "app/InputMapping.h"
#include "buildings/Building.h"
#include "buildings/MilitaryBuilding.h"
#include "game/Game.h"
#include "world/DiscObjects.h"
#include "world/GuardTower.h"
#include "world/Tree.h"
#include "world/WorldObject.h"

namespace {

// How often each action is picked, in the order of RandomInput::Action.
constexpr int kWeights[] = {6, 8, 4, 3, 8, 6, 5, 4, 3, 3, 1, 2, 2, 1};
constexpr int kPaletteItems = 9;

Vec2 centreOf(const Rect& r) {
  return {r.minX + (r.maxX - r.minX) * 0.5f, r.minY + (r.maxY - r.minY) * 0.5f};
}

// A point that picks the object up rather than pressing on it: the switch
// moves every building but the military one, which it would arm instead.
bool grabPoint(WorldObject* o, Vec2& p) {
  if (auto* m = dynamic_cast<MilitaryBuilding*>(o)) {
    for (int i = 0; i < m->roomCount; ++i) {
      p = centreOf(m->rooms[i]);
      if (!contains(m->switchRect(), p.x, p.y)) return true;
    }
    return false;
  }
  if (auto* b = dynamic_cast<Building*>(o)) {
    p = centreOf(b->switchRect());
    return true;
  }
  if (auto* t = dynamic_cast<Tree*>(o)) {
    p = t->centre;
    return true;
  }
  if (auto* d = dynamic_cast<DiscObject*>(o)) {
    p = d->centre;
    return true;
  }
  return false;
}

// Points just outside every door and tower post, where a press starts a road.
std::vector<Vec2> anchorPoints(Game& g) {
  std::vector<Vec2> points;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (o->inactive) continue;
    if (auto* b = dynamic_cast<Building*>(o)) {
      for (int i = 0; i < b->doorCount; ++i) {
        const Door& d = b->doors[i];
        points.push_back(d.midpoint() + scaled(d.normal, 0.3f * d.span));
      }
    } else if (auto* t = dynamic_cast<GuardTower*>(o)) {
      for (const TowerPost& post : t->posts)
        points.push_back(post.postPosition + scaled(post.postDirection, 5.0f));
    }
  }
  return points;
}

template <class T>
std::vector<T*> allOf(Game& g) {
  std::vector<T*> found;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (o->inactive) continue;
    if (auto* t = dynamic_cast<T*>(o)) found.push_back(t);
  }
  return found;
}

}  // namespace

RandomInput::RandomInput(uint32_t seed) : RandomInput(seed, Options()) {}

RandomInput::RandomInput(uint32_t seed, const Options& options)
    : random_(seed), options_(options), budget_(options.buildBudget) {}

int RandomInput::between(int lo, int hi) {
  return lo + random_.next() % (hi - lo + 1);
}

float RandomInput::fraction() {
  return static_cast<float>(random_.next()) * kRandomScale;
}

Vec2 RandomInput::pointIn(const Rect& r) {
  const float x = r.minX + (r.maxX - r.minX) * fraction();
  const float y = r.minY + (r.maxY - r.minY) * fraction();
  return {x, y};
}

bool RandomInput::spend() {
  if (budget_ <= 0) return false;
  --budget_;
  return true;
}

void RandomInput::emit(int tick, ReplayEvent::Kind kind, float x, float y, int value) {
  ReplayEvent e;
  e.tick = tick;
  e.kind = kind;
  e.x = x;
  e.y = y;
  e.value = value;
  run_->schedule(e);
}

bool RandomInput::onPalette(Vec2 p) {
  return run_->game().paletteHit(p.x, p.y) >= 0;
}

bool RandomInput::harmless(Vec2 p) {
  Game& g = run_->game();
  return !onPalette(p) && (g.objectAt(p.x, p.y) || !g.anchorAt(p.x, p.y, nullptr));
}

int RandomInput::drag(int t, Vec2 from, const Vec2* waypoints, int count, int steps) {
  emit(t, ReplayEvent::kMove, from.x, from.y);
  int tick = t + 1;
  emit(tick, ReplayEvent::kPress);
  Vec2 at = from;
  for (int w = 0; w < count; ++w) {
    for (int i = 1; i <= steps; ++i) {
      const float k = static_cast<float>(i) / static_cast<float>(steps);
      const Vec2 p = at + scaled(waypoints[w] - at, k);
      emit(++tick, ReplayEvent::kMove, p.x, p.y);
    }
    at = waypoints[w];
  }
  emit(++tick, ReplayEvent::kRelease);
  return tick + 1;
}

void RandomInput::plan(ReplayRun& run) {
  const int t = run.tick();
  if (t < nextStart_) return;
  run_ = &run;
  if (run.game().peepCount() < options_.keepPopulation && between(0, 1) == 0) {
    // A handful at once, so that refilling leaves time for everything else.
    int end = t;
    for (int n = between(2, 6); n > 0; --n) end = buy(end, 0);
    nextStart_ = end + between(1, 2 * options_.meanGap);
    return;
  }
  int total = 0;
  for (int w : kWeights) total += w;
  int pick = between(0, total - 1);
  int action = 0;
  while (pick >= kWeights[action]) pick -= kWeights[action++];
  const int end = start(static_cast<Action>(action), run, t);
  nextStart_ = end + between(1, 2 * options_.meanGap);
}

int RandomInput::start(Action action, ReplayRun& run, int t) {
  switch (action) {
    case kBuy:
      return spend() ? buy(t, between(0, kPaletteItems - 1)) : t;
    case kMoveObject:
      return moveObject(run, t);
    case kRoad:
      return road(run, t);
    case kPath:
      return path(run, t);
    case kSweep:
      return sweep(run, t);
    case kOrder: {
      const Vec2 p = pointIn(run.game().playArea());
      if (!harmless(p)) return t;
      emit(t, ReplayEvent::kMove, p.x, p.y);
      emit(t + 1, ReplayEvent::kPress);
      emit(t + 1, ReplayEvent::kRelease);
      return t + 2;
    }
    case kShove:
      return shove(run, t);
    case kSwitch:
      return flipSwitch(run, t);
    case kWheel:
      emit(t, ReplayEvent::kWheel, 0.0f, 0.0f, between(0, 1) ? between(1, 2) : -between(1, 2));
      return t + 1;
    case kToggle:
      emit(t, ReplayEvent::kMenu, 0.0f, 0.0f, between(0, 1) ? Game::kSlowCommand : Game::kDebugViewCommand);
      return t + 1;
    case kSaveTuning:
      emit(t, ReplayEvent::kMenu, 0.0f, 0.0f, Game::kSaveTuningCommand);
      return t + 1;
    case kReloadTuning:
      return reloadTuning(t);
    case kCreepAttack:
      switch (between(0, 2)) {
        case 0:
          emit(t, ReplayEvent::kMenu, 0.0f, 0.0f, Game::kCreepAttackCommand);
          break;
        case 1:
          emit(t, ReplayEvent::kKey, 0.0f, 0.0f, 'a');
          break;
        default:  // Ctrl+A arrives as "a" too
          emit(t, ReplayEvent::kModifiers, 0.0f, 0.0f, kCtrlBit);
          emit(t, ReplayEvent::kKey, 0.0f, 0.0f, 'a');
          emit(t, ReplayEvent::kModifiers, 0.0f, 0.0f, 0);
          break;
      }
      return t + 1;
    case kPause:  // and go on again: presses and drags meanwhile are refused
      emit(t, ReplayEvent::kKey, 0.0f, 0.0f, 'p');
      emit(t + between(1, 90), ReplayEvent::kKey, 0.0f, 0.0f, 'p');
      return t + 1;
    case kActionCount:
      break;
  }
  return t;
}

int RandomInput::buy(int t, int slot) {
  const Rect cell = run_->game().paletteCell(slot);
  const Vec2 p = centreOf(cell);
  emit(t, ReplayEvent::kMove, p.x, p.y);
  emit(t + 1, ReplayEvent::kPress);
  emit(t + 1, ReplayEvent::kRelease);
  return t + 2;
}

int RandomInput::moveObject(ReplayRun& run, int t) {
  std::vector<std::pair<WorldObject*, Vec2>> movable;
  for (WorldObject* o = run.game().worldHead; o; o = o->nextObject()) {
    Vec2 p;
    if (!o->inactive && grabPoint(o, p)) movable.emplace_back(o, p);
  }
  if (movable.empty()) return t;
  const Vec2 from = movable[between(0, static_cast<int>(movable.size()) - 1)].second;
  const Vec2 to = pointIn(grownBy(run.game().playArea(), 20.0f));
  if (!harmless(from)) return t;
  // Alt held at the press drags a fresh copy away.
  const bool copy = between(0, 4) == 0 && spend();
  if (copy) emit(t, ReplayEvent::kModifiers, 0.0f, 0.0f, kAltBit);
  const int end = drag(t, from, &to, 1, between(3, 30));
  if (copy) emit(end, ReplayEvent::kModifiers, 0.0f, 0.0f, 0);
  return end;
}

int RandomInput::road(ReplayRun& run, int t) {
  const std::vector<Vec2> points = anchorPoints(run.game());
  if (points.empty() || budget_ <= 0) return t;
  const int n = static_cast<int>(points.size());
  const Vec2 from = points[between(0, n - 1)];
  const Vec2 to = points[between(0, n - 1)];
  if (onPalette(from)) return t;
  spend();
  return drag(t, from, &to, 1, between(4, 20));
}

int RandomInput::path(ReplayRun& run, int t) {
  const Rect area = run.game().playArea();
  const Vec2 from = pointIn(area);
  if (onPalette(from) || !spend()) return t;
  const bool wasOn = run.game().drawRoads;
  if (!wasOn) emit(t, ReplayEvent::kMenu, 0.0f, 0.0f, Game::kDrawRoadsCommand);
  Vec2 waypoints[4];
  const int count = between(1, 4);
  for (int i = 0; i < count; ++i) waypoints[i] = pointIn(area);
  const int end = drag(t, from, waypoints, count, between(3, 12));
  // Paths only while drawing one: a stray press on open ground would
  // otherwise leave a path behind outside the budget.
  if (!wasOn) emit(end, ReplayEvent::kMenu, 0.0f, 0.0f, Game::kDrawRoadsCommand);
  return end + 1;
}

int RandomInput::sweep(ReplayRun& run, int t) {
  const std::vector<Peep*> peeps = allOf<Peep>(run.game());
  Vec2 centre = pointIn(run.game().playArea());
  if (!peeps.empty()) centre = peeps[between(0, static_cast<int>(peeps.size()) - 1)]->position;
  Vec2 waypoints[4];
  const int count = between(1, 4);
  for (int i = 0; i < count; ++i)
    waypoints[i] = pointIn(grownBy(Rect{centre.x, centre.x, centre.y, centre.y}, 40.0f));
  const Vec2 from = pointIn(grownBy(Rect{centre.x, centre.x, centre.y, centre.y}, 10.0f));
  if (!harmless(from)) return t;
  return drag(t, from, waypoints, count, between(3, 10));
}

int RandomInput::shove(ReplayRun& run, int t) {
  const Rect area = run.game().playArea();
  Vec2 waypoints[4];
  const int count = between(1, 4);
  for (int i = 0; i < count; ++i) waypoints[i] = pointIn(area);
  const Vec2 from = pointIn(area);
  if (!harmless(from)) return t;
  emit(t, ReplayEvent::kModifiers, 0.0f, 0.0f, kShiftBit);
  const int end = drag(t, from, waypoints, count, between(10, 30));
  emit(end, ReplayEvent::kModifiers, 0.0f, 0.0f, 0);
  return end;
}

int RandomInput::flipSwitch(ReplayRun& run, int t) {
  const std::vector<MilitaryBuilding*> military = allOf<MilitaryBuilding>(run.game());
  if (military.empty()) return t;
  const MilitaryBuilding* m = military[between(0, static_cast<int>(military.size()) - 1)];
  const Vec2 p = centreOf(m->switchRect());
  if (onPalette(p)) return t;
  emit(t, ReplayEvent::kMove, p.x, p.y);
  emit(t + 1, ReplayEvent::kPress);
  emit(t + 1, ReplayEvent::kRelease);
  return t + 2;
}

int RandomInput::reloadTuning(int t) {
  // Only the values read during play matter after the start; a broken line
  // must leave them alone.
  static const char* const kValues[] = {"0.02", "0.05", "0.1", "0.001", "0.0025", "0.01", "x", "-1"};
  ReplayEvent e;
  e.tick = t;
  e.kind = ReplayEvent::kTune;
  e.name = between(0, 1) ? "kWorkBuildingPayout" : "kPeepAngerGrowthWhenTired";
  e.text = kValues[between(0, 7)];
  run_->schedule(e);
  emit(t + 1, ReplayEvent::kMenu, 0.0f, 0.0f, Game::kReloadTuningCommand);
  return t + 2;
}

ReplayScript soakScript(uint32_t seed, int ticks) {
  ReplayScript script;
  script.seed = seed;
  script.ticks = ticks;
  script.tuning = {{"kStartWithMoney", "1"},
                   {"kStartWithAgents", "40"},
                   {"kPeepCost", "0"},
                   {"kSleepBuildingCapacity", "6"},
                   {"kWorkBuildingPayout", "0.2"},
                   {"kPeepAngerGrowthWhenTired", "0.0005"}};
  return script;
}

void playRandomly(ReplayRun& run, RandomInput& input, const std::function<void(ReplayRun&)>& afterTick) {
  while (!run.finished()) {
    input.plan(run);
    run.step();
    if (afterTick) afterTick(run);
  }
}
