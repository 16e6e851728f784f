#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "agents/Creep.h"
#include "agents/Road.h"
#include "buildings/MilitaryBuilding.h"
#include "buildings/SleepBuilding.h"
#include "buildings/WorkBuilding.h"
#include "doubles/HeadlessGame.h"
#include "replay/WorldDigest.h"
#include "world/Burst.h"
#include "world/DrawnPath.h"
#include "world/Fountain.h"
#include "world/GuardTower.h"
#include "world/MoneyPiece.h"
#include "world/Tree.h"

// The agent queries, objectAt and anchorAt skip the objects whose reach cannot hold
// the agent. Random worlds of every kind of object, played and pushed about,
// are queried the game's way in one run and by walks of the whole list in a
// second run from the same seed; the two transcripts must agree bit for bit.

namespace {

// The services as walks of the whole list.
template <class Visit>
void walk(Game& g, Peep& agent, Visit visit) {
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (!o->inactive && o != &agent) visit(*o);
  }
}

Vec2 plainSum(Game& g, Peep& agent, Vec2 (WorldObject::*term)(Peep&)) {
  Vec2 sum;
  walk(g, agent, [&](WorldObject& o) { sum += (o.*term)(agent); });
  return sum;
}

WorldObject* plainObjectAt(Game& g, float x, float y) {
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (!o->inactive && o->containsPoint(x, y)) return o;
  }
  return nullptr;
}

Anchor* plainAnchorAt(Game& g, float x, float y) {
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    if (Anchor* a = o->inactive ? nullptr : o->slotAt(x, y)) return a;
  }
  return nullptr;
}

// One run: the test's own choices come from `pick`, so both runs make the
// same ones and the game's generator sees the same draws.
class Playthrough {
 public:
  Playthrough(uint32_t seed, bool plain) : h_(seed), g_(h_.game()), pick_(seed), plain_(plain) {
    buildWorld();
  }

  // The transcript; nonZero counts the sums that were not zero.
  std::vector<std::string> play(int rounds, int& nonZero, int& anchors) {
    for (int i = 0; i < rounds; ++i) step();
    nonZero += nonZero_;
    anchors += anchors_;
    return std::move(log_);
  }

 private:
  float uniform(float a, float b) { return std::uniform_real_distribution<float>(a, b)(pick_); }
  int below(int n) { return static_cast<int>(pick_() % static_cast<uint32_t>(n)); }
  bool chance(int percent) { return below(100) < percent; }
  Vec2 anywhere() { return {uniform(200, 600), uniform(200, 600)}; }
  Rect plot() {
    const Vec2 p = anywhere();
    return {p.x, p.x + uniform(14, 60), p.y, p.y + uniform(14, 60)};
  }
  // With inactive ones, the palette's prototypes are among them.
  template <class T>
  std::vector<T*> all(bool withInactive = false) {
    std::vector<T*> out;
    for (WorldObject* o = g_.worldHead; o; o = o->nextObject()) {
      if (auto* t = dynamic_cast<T*>(o); t && (withInactive || !o->inactive)) out.push_back(t);
    }
    return out;
  }

  TowerPost& somePost(const std::vector<GuardTower*>& towers) {
    GuardTower* t = towers[below(towers.size())];
    return t->posts[below(GuardTower::kPosts)];
  }

  // An object of kind T at p, or somewhere on the field, made with its other arguments.
  template <class T, class... More>
  T* at(Vec2 p, More... more) {
    return new T(g_, p.x, p.y, more...);
  }
  template <class T, class... More>
  T* place(More... more) {
    return at<T>(anywhere(), more...);
  }

  void buildWorld() {
    for (int i = below(30) + 10; i > 0; --i) place<Tree>(uniform(4, 20));
    for (int i = below(3) + 1; i > 0; --i) place<Fountain>(uniform(8, 30));
    // Some off the field and across its edges, where the game's grid folds.
    at<Tree>({uniform(-400, -60), uniform(850, 1200)}, 12.0f);
    at<Tree>({uniform(-20, 20), uniform(0, 800)}, 12.0f);
    at<Fountain>({uniform(900, 1400), uniform(-300, 900)}, 20.0f);
    at<Fountain>({uniform(0, 800), uniform(780, 820)}, 20.0f);
    std::vector<GuardTower*> towers;
    for (int i = below(5) + 3; i > 0; --i) towers.push_back(place<GuardTower>(12.0f));
    for (int i = below(6) + 4; i > 0; --i) {
      TowerPost& from = somePost(towers);
      new Road(g_, from, somePost(towers));
    }
    std::vector<Building*> buildings;
    for (int round = 0; round < 3; ++round) {
      buildings.push_back(chance(50) ? new Building(g_, plot(), 3) : new CapitalBuilding(g_, plot(), 2));
      const Rect f = plot();
      const int rooms = below(4);
      auto* s = new SleepBuilding(g_, f, rooms, below(4));
      s->occupants = below(s->capacity + 1);
      s->restProgress = uniform(0.8f, 1.0f);  // to wake soon
      auto* w = new WorkBuilding(g_, plot(), 3, below(6));
      // Workers come in the game's way, each with a timer, and leave soon.
      for (int k = below(w->capacity + 1); k > 0; --k)
        w->affect(*new Peep(g_, w->centre().x, w->centre().y, 0));
      for (float& timer : w->workTimers) timer = timer >= 0.0f ? uniform(0.95f, 1.0f) : timer;
      buildings.insert(buildings.end(), {s, w});
      for (int i = 0; i < 2; ++i) {
        auto* m = new MilitaryBuilding(g_, plot(), 3);
        m->armed = chance(70);
        m->soldiers = below(3);
        buildings.push_back(m);
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
    for (int i = below(20) + 10; i > 0; --i) place<Peep>(below(2));
    for (int i = below(5) + 3; i > 0; --i) {
      if (Creep* c = place<Creep>(1 << 20); chance(30)) c->setState(Creep::kLeaving);
    }
    const Vec2 pay = anywhere();
    spawnMoney(g_, 1.0f, 0.2f, pay.x, pay.y);
    place<Burst>(Burst::kHitSize);
    if (chance(50)) {
      g_.repelToolActive = true;
      g_.replaceTool();
    }
  }

  void step() {
    const std::vector<WorldObject*> objects = all<WorldObject>(true);
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
      place<Peep>(0);
      return;
    }
    // Probed where the test likes, then put back so the world plays on.
    Peep& agent = *agents[below(agents.size())];
    const std::tuple<Vec2, float, float> was{agent.position, agent.heading, agent.speed};
    agent.position = placeNear(objects);
    agent.heading = chance(5) ? NAN : uniform(-10, 10);
    const int pace = below(10);
    agent.speed = pace == 0 ? 0.0f : pace == 1 ? Peep::kTopSpeed : pace == 2 ? uniform(4, 9) : uniform(0, 4);
    agent.setState(below(2));

    logSum("separation", plain_ ? plainSum(g_, agent, &WorldObject::separation) : g_.separationSum(agent));
    logSum("avoidance", plain_ ? plainSum(g_, agent, &WorldObject::avoidance) : g_.avoidanceSum(agent));
    Vec2 alignment = plain_ ? plainSum(g_, agent, &WorldObject::alignment) : g_.alignmentSum(agent);
    if (plain_) clampLength(alignment, 1.0f);
    logSum("alignment", alignment);
    if (chance(40)) {
      plain_ ? walk(g_, agent, [&](WorldObject& o) { o.affect(agent); }) : g_.affectAll(agent);
      log("affect " + hexDigest(worldDigest(g_)));
    }
    for (int i = 0; i < 2; ++i) {
      const Vec2 p = placeNear(objects);
      WorldObject* found = plain_ ? plainObjectAt(g_, p.x, p.y) : g_.objectAt(p.x, p.y);
      log("objectAt " + (found ? std::to_string(found->serial()) : "none"));
      const Anchor* a = plain_ ? plainAnchorAt(g_, p.x, p.y) : g_.anchorAt(p.x, p.y, nullptr);
      anchors_ += a ? 1 : 0;
      log("anchorAt " +
          (a ? std::to_string(a->position().x) + " " + std::to_string(a->position().y) : "none"));
    }
    std::tie(agent.position, agent.heading, agent.speed) = was;
  }

  // Mostly close to some object, sometimes right on a centre, off the
  // field or not a number at all.
  Vec2 placeNear(const std::vector<WorldObject*>& objects) {
    const int how = below(20);
    if (how < 2) return how == 0 ? Vec2{NAN, uniform(0, 800)} : Vec2{uniform(0, 800), INFINITY};
    if (how < 5) return {uniform(-100, 900), uniform(-100, 900)};
    WorldObject* o = objects[below(objects.size())];
    Vec2 c = anywhere();
    if (auto* d = dynamic_cast<DiscObject*>(o)) c = d->centre;
    if (auto* p = dynamic_cast<Peep*>(o)) c = p->position;
    if (auto* t = dynamic_cast<Tree*>(o)) c = t->centre;
    if (auto* b = dynamic_cast<Building*>(o))
      c = b->doorCount > 0 && how < 6 ? b->doors[0].midpoint() : b->centre();
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
  int anchors_ = 0;
};

TEST(CulledQueries, AnswerAsWalksOfTheWholeListDoInRandomWorlds) {
  int nonZero = 0, anchors = 0;
  for (uint32_t seed = 1; seed <= 8; ++seed) {
    // One game at a time: they share the clock.
    const std::vector<std::string> got = Playthrough(seed, false).play(300, nonZero, anchors);
    const std::vector<std::string> want = Playthrough(seed, true).play(300, nonZero, anchors);
    ASSERT_EQ(got.size(), want.size()) << "seed " << seed;
    for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], want[i]) << "seed " << seed << ", line " << i;
  }
  // Most queries find something to sum: the comparison is not of zeros.
  EXPECT_GT(nonZero, 3000);
  EXPECT_GT(anchors, 300);  // doors and posts were found, not only missed
}

}  // namespace
