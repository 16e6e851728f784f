#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "agents/Creep.h"
#include "agents/Road.h"
#include "buildings/MilitaryBuilding.h"
#include "buildings/SleepBuilding.h"
#include "buildings/WorkBuilding.h"
#include "replay/WorldDigest.h"
#include "support/HeadlessGame.h"
#include "world/Burst.h"
#include "world/DrawnPath.h"
#include "world/Fountain.h"
#include "world/GuardTower.h"
#include "world/MoneyPiece.h"
#include "world/Tree.h"

// The agent queries and objectAt skip the objects whose reach cannot hold
// the agent. Random worlds of every kind of object, played and pushed about,
// are queried the game's way in one run and by walks of the whole list in a
// second run from the same seed; the two transcripts must agree bit for bit.

namespace {

// The services as walks of the whole list.
Vec2 plainSeparation(Game& g, Peep& agent) {
  Vec2 sum;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (!o->inactive && o != &agent) sum += o->separation(agent);
  }
  return sum;
}

Vec2 plainAvoidance(Game& g, Peep& agent) {
  Vec2 sum;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (!o->inactive && o != &agent) sum += o->avoidance(agent);
  }
  return sum;
}

Vec2 plainAlignment(Game& g, Peep& agent) {
  Vec2 sum;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (!o->inactive && o != &agent) sum += o->alignment(agent);
  }
  clampLength(sum, 1.0f);
  return sum;
}

void plainAffect(Game& g, Peep& agent) {
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (!o->inactive && o != &agent) o->affect(agent);
  }
}

WorldObject* plainObjectAt(Game& g, float x, float y) {
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (!o->inactive && o->containsPoint(x, y)) return o;
  }
  return nullptr;
}

std::vector<WorldObject*> listOf(Game& g) {
  std::vector<WorldObject*> out;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) out.push_back(o);
  return out;
}

// One run: the test's own choices come from `pick`, so both runs make the
// same ones and the game's generator sees the same draws.
class Playthrough {
 public:
  Playthrough(uint32_t seed, bool plain) : h_(seed), g_(h_.game()), pick_(seed), plain_(plain) {
    buildWorld();
  }

  std::vector<std::string> play(int rounds) {
    for (int i = 0; i < rounds; ++i) step();
    return std::move(log_);
  }
  int nonZeroSums() const { return nonZero_; }

 private:
  float uniform(float a, float b) { return std::uniform_real_distribution<float>(a, b)(pick_); }
  int below(int n) { return static_cast<int>(pick_() % static_cast<uint32_t>(n)); }
  bool chance(int percent) { return below(100) < percent; }
  Vec2 anywhere() { return {uniform(200, 600), uniform(200, 600)}; }
  Rect plot() {
    const Vec2 p = anywhere();
    return {p.x, p.x + uniform(14, 60), p.y, p.y + uniform(14, 60)};
  }
  template <class T>
  std::vector<T*> all() {
    std::vector<T*> out;
    for (WorldObject* o : listOf(g_)) {
      if (auto* t = dynamic_cast<T*>(o); t && !o->inactive) out.push_back(t);
    }
    return out;
  }

  TowerPost& somePost(const std::vector<GuardTower*>& towers) {
    GuardTower* t = towers[below(towers.size())];
    return t->posts[below(GuardTower::kPosts)];
  }

  void buildWorld() {
    for (int i = below(30) + 10; i > 0; --i) {
      const Vec2 p = anywhere();
      new Tree(g_, p.x, p.y, uniform(4, 20));
    }
    for (int i = below(3) + 1; i > 0; --i) {
      const Vec2 p = anywhere();
      new Fountain(g_, p.x, p.y, uniform(8, 30));
    }
    // Some off the field and across its edges, where the game's grid folds.
    const Vec2 far[4] = {{uniform(-400, -60), uniform(850, 1200)},
                         {uniform(-20, 20), uniform(0, 800)},
                         {uniform(900, 1400), uniform(-300, 900)},
                         {uniform(0, 800), uniform(780, 820)}};
    new Tree(g_, far[0].x, far[0].y, 12);
    new Tree(g_, far[1].x, far[1].y, 12);
    new Fountain(g_, far[2].x, far[2].y, 20);
    new Fountain(g_, far[3].x, far[3].y, 20);
    std::vector<GuardTower*> towers;
    for (int i = below(5) + 3; i > 0; --i) {
      const Vec2 p = anywhere();
      towers.push_back(new GuardTower(g_, p.x, p.y, 12));
    }
    for (int i = below(6) + 4; i > 0; --i) {
      TowerPost& from = somePost(towers);
      new Road(g_, from, somePost(towers));
    }
    std::vector<Building*> buildings;
    for (int i = 0; i < 15; ++i) {
      switch (i % 5) {
        case 0:
          buildings.push_back(chance(50) ? new Building(g_, plot(), 3) : new CapitalBuilding(g_, plot(), 2));
          break;
        case 1: {
          const Rect f = plot();
          const int rooms = below(4);
          auto* s = new SleepBuilding(g_, f, rooms, below(4));
          s->occupants = below(s->capacity + 1);
          s->restProgress = uniform(0.8f, 1.0f);  // to wake soon
          buildings.push_back(s);
          break;
        }
        case 2: {
          auto* w = new WorkBuilding(g_, plot(), 3, below(6));
          // Workers come in the game's way, each with a timer, and leave soon.
          for (int k = below(w->capacity + 1); k > 0; --k)
            w->affect(*new Peep(g_, w->centre().x, w->centre().y, 0));
          for (float& timer : w->workTimers) {
            if (timer >= 0.0f) timer = uniform(0.95f, 1.0f);
          }
          buildings.push_back(w);
          break;
        }
        default: {
          auto* m = new MilitaryBuilding(g_, plot(), 3);
          m->armed = chance(70);
          m->soldiers = below(3);
          buildings.push_back(m);
        }
      }
    }
    // Roads that only show a link: door to door and door to post.
    new Road(g_, buildings[0]->doors[0], buildings[5]->doors[1]);
    new Road(g_, buildings[2]->doors[2], towers[0]->posts[3]);
    for (int i = 0; i < 5; ++i) {
      auto* path = new DrawnPath(g_);
      Vec2 at = anywhere();
      for (int n = i == 0 ? 0 : i == 1 ? 1 : below(256) + 2; n > 0; --n) {
        at = at + Vec2{uniform(-12, 12), uniform(-12, 12)};
        path->addPoint(at.x, at.y, 0.0f);
      }
    }
    for (int i = below(20) + 10; i > 0; --i) {
      const Vec2 p = anywhere();
      new Peep(g_, p.x, p.y, below(2));
    }
    for (int i = below(5) + 3; i > 0; --i) {
      const Vec2 p = anywhere();
      auto* c = new Creep(g_, p.x, p.y, 1 << 20);
      if (chance(30)) c->setState(Creep::kLeaving);
    }
    const Vec2 pay = anywhere();
    spawnMoney(g_, 1.0f, 0.2f, pay.x, pay.y);
    const Vec2 shot = anywhere();
    new Burst(g_, shot.x, shot.y, Burst::kHitSize);
    if (chance(50)) {
      g_.repelToolActive = true;
      g_.replaceTool();
    }
  }

  void step() {
    const std::vector<WorldObject*> objects = listOf(g_);
    WorldObject* some = objects[below(objects.size())];
    switch (below(20)) {
      case 0:
      case 6:
        h_.tick();
        log("tick " + hexDigest(worldDigest(g_)));
        return;
      case 1: {
        const Vec2 by{uniform(-30, 30), uniform(-30, 30)};
        some->moveBy(by.x, by.y);
        return;
      }
      case 2:
        if (WorldObject* copy = some->clone()) copy->inactive = false;
        return;
      case 3:
        if (const auto paths = all<DrawnPath>(); !paths.empty()) {
          const Vec2 p = anywhere();
          paths[below(paths.size())]->onDrop(p.x, p.y);
        }
        return;
      case 4:
        if (dynamic_cast<Tree*>(some) || dynamic_cast<MoneyPiece*>(some) || dynamic_cast<Peep*>(some)) {
          if (some != g_.held && !some->inactive) delete some;
        }
        return;
      case 5:
        // A sweep with the command tool takes every agent it touches.
        if (g_.tool) {
          g_.tool->mouseDown = chance(70);
          g_.tool->mousePos = anywhere();
          g_.mode = 3;
        }
        return;
      default:
        query(objects);
    }
  }

  void query(const std::vector<WorldObject*>& objects) {
    const std::vector<Peep*> agents = all<Peep>();
    if (agents.empty()) {
      const Vec2 p = anywhere();
      new Peep(g_, p.x, p.y, 0);
      return;
    }
    // Probed where the test likes, then put back so the world plays on.
    Peep& agent = *agents[below(agents.size())];
    const Vec2 position = agent.position;
    const float heading = agent.heading;
    const float speed = agent.speed;
    agent.position = placeNear(objects);
    agent.heading = chance(5) ? NAN : uniform(-10, 10);
    const int pace = below(10);
    agent.speed = pace == 0 ? 0.0f : pace == 1 ? Peep::kTopSpeed : pace == 2 ? uniform(4, 9) : uniform(0, 4);
    agent.setState(below(2));

    logSum("separation", plain_ ? plainSeparation(g_, agent) : g_.separationSum(agent));
    logSum("avoidance", plain_ ? plainAvoidance(g_, agent) : g_.avoidanceSum(agent));
    logSum("alignment", plain_ ? plainAlignment(g_, agent) : g_.alignmentSum(agent));
    if (chance(40)) {
      plain_ ? plainAffect(g_, agent) : g_.affectAll(agent);
      log("affect " + hexDigest(worldDigest(g_)));
    }
    for (int i = 0; i < 2; ++i) {
      const Vec2 p = placeNear(objects);
      WorldObject* found = plain_ ? plainObjectAt(g_, p.x, p.y) : g_.objectAt(p.x, p.y);
      int index = -1;
      for (WorldObject* o = g_.worldHead; o && found; o = o->nextObject()) {
        ++index;
        if (o == found) break;
      }
      log("objectAt " + std::to_string(index));
    }
    agent.position = position;
    agent.heading = heading;
    agent.speed = speed;
  }

  // Mostly close to some object, sometimes right on a centre, off the
  // field or not a number at all.
  Vec2 placeNear(const std::vector<WorldObject*>& objects) {
    const int how = below(20);
    if (how == 0) return {NAN, uniform(0, 800)};
    if (how == 1) return {INFINITY, uniform(0, 800)};
    if (how < 5) return {uniform(-100, 900), uniform(-100, 900)};
    WorldObject* o = objects[below(objects.size())];
    Vec2 c = anywhere();
    if (auto* d = dynamic_cast<DiscObject*>(o)) c = d->centre;
    if (auto* p = dynamic_cast<Peep*>(o)) c = p->position;
    if (auto* t = dynamic_cast<Tree*>(o)) c = t->centre;
    if (auto* b = dynamic_cast<Building*>(o)) c = b->centre();
    if (how < 8) return c;
    const float reach = how < 14 ? 20.0f : 140.0f;
    return c + Vec2{uniform(-reach, reach), uniform(-reach, reach)};
  }

  void logSum(const char* what, Vec2 v) {
    uint32_t bits[2];
    std::memcpy(bits, &v, sizeof bits);
    if (v.x != 0.0f || v.y != 0.0f) ++nonZero_;
    log(std::string(what) + " " + std::to_string(bits[0]) + " " + std::to_string(bits[1]) + " random " +
        std::to_string(processRandom().state()));
  }
  void log(std::string line) { log_.push_back(std::move(line)); }

  HeadlessGame h_;
  Game& g_;
  std::mt19937 pick_;
  bool plain_;
  std::vector<std::string> log_;
  int nonZero_ = 0;
};

TEST(CulledQueries, AnswerAsWalksOfTheWholeListDoInRandomWorlds) {
  int nonZero = 0;
  for (uint32_t seed = 1; seed <= 8; ++seed) {
    // One game at a time: they share the clock.
    std::vector<std::string> got;
    {
      Playthrough culled(seed, false);
      got = culled.play(300);
      nonZero += culled.nonZeroSums();
    }
    const std::vector<std::string> want = Playthrough(seed, true).play(300);
    ASSERT_EQ(got.size(), want.size()) << "seed " << seed;
    for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], want[i]) << "seed " << seed << ", line " << i;
  }
  // Most queries find something to sum: the comparison is not of zeros.
  EXPECT_GT(nonZero, 1500);
}

}  // namespace
