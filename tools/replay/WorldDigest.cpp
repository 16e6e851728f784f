#include "replay/WorldDigest.h"

#include <cstdio>
#include <typeinfo>
#include <unordered_map>
#include <utility>

#include "agents/Creep.h"
#include "agents/Peep.h"
#include "agents/Road.h"
#include "app/Application.h"
#include "app/FrameClock.h"
#include "buildings/Building.h"
#include "buildings/MilitaryBuilding.h"
#include "buildings/SleepBuilding.h"
#include "buildings/WorkBuilding.h"
#include "game/Game.h"
#include "world/Burst.h"
#include "world/CommandTool.h"
#include "world/DrawnPath.h"
#include "world/Fountain.h"
#include "world/GroundMarker.h"
#include "world/GuardTower.h"
#include "world/MoneyPiece.h"
#include "world/Random.h"
#include "world/RepelTool.h"
#include "world/SelectionTool.h"
#include "world/Tree.h"
#include "world/WorldObject.h"
#include "world/Zone.h"

namespace {

class Writer {
 public:
  Writer& word(const char* w) {
    text_ += w;
    text_ += ' ';
    return *this;
  }
  Writer& number(float f) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%a ", static_cast<double>(f));
    text_ += buf;
    return *this;
  }
  Writer& number(int i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d ", i);
    text_ += buf;
    return *this;
  }
  Writer& number(int64_t i) {
    text_ += std::to_string(i);
    text_ += ' ';
    return *this;
  }
  Writer& number(unsigned u) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u ", u);
    text_ += buf;
    return *this;
  }
  Writer& flag(bool b) { return number(b ? 1 : 0); }
  Writer& vec(Vec2 v) { return number(v.x).number(v.y); }
  Writer& color(const Color3& c) { return number(c.r).number(c.g).number(c.b); }
  Writer& rect(const Rect& r) { return number(r.minX).number(r.maxX).number(r.minY).number(r.maxY); }
  void endLine() {
    if (!text_.empty() && text_.back() == ' ') text_.pop_back();
    text_ += '\n';
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

// List positions of the objects and of the anchors they own, so references
// are written as positions rather than addresses (which differ between runs)
// and a road is only followed to an anchor that still exists.
class Index {
 public:
  explicit Index(Game& g) {
    int i = 0;
    for (WorldObject* o = g.worldHead; o; o = o->nextObject(), ++i) {
      objects_[o] = i;
      if (auto* b = dynamic_cast<Building*>(o)) {
        for (int d = 0; d < b->doorCount; ++d) anchors_[&b->doors[d]] = {i, d};
      } else if (auto* t = dynamic_cast<GuardTower*>(o)) {
        for (int p = 0; p < GuardTower::kPosts; ++p) anchors_[&t->posts[p]] = {i, p};
      }
    }
  }
  int of(const WorldObject* o) const {
    if (!o) return -1;
    const auto it = objects_.find(o);
    return it == objects_.end() ? -2 : it->second;
  }
  const std::pair<int, int>* anchor(const Anchor* a) const {
    const auto it = anchors_.find(a);
    return it == anchors_.end() ? nullptr : &it->second;
  }

 private:
  std::unordered_map<const WorldObject*, int> objects_;
  std::unordered_map<const Anchor*, std::pair<int, int>> anchors_;
};

void describePeep(Writer& w, Peep& p) {
  w.number(p.state).number(p.anger).vec(p.position).number(p.heading).number(p.turnRate);
  w.number(p.speed).vec(p.push).flag(p.hasTarget).vec(p.target).flag(p.selected).color(p.bodyColor);
}

void describeBuilding(Writer& w, Building& b) {
  w.rect(b.footprint).number(b.entryTime).number(b.roomCount);
  for (int i = 0; i < b.roomCount; ++i) w.rect(b.rooms[i]);
  w.word("doors").number(b.doorCount);
  for (int i = 0; i < b.doorCount; ++i) {
    const Door& d = b.doors[i];
    w.vec(d.end1).vec(d.end2).vec(d.normal).number(d.span);
  }
  const DoorSwing& s = b.doorSwing;
  w.word("swing").number(s.openFrom).number(s.openTo).number(s.moveStart).number(s.moveDuration);
  w.number(b.openness());
}

void describeAnchor(Writer& w, const Index& index, Anchor* a) {
  const std::pair<int, int>* at = index.anchor(a);
  if (!at) {
    w.word("lost");  // its owner is gone: the pointer must not be followed
    return;
  }
  w.number(at->first).number(at->second).number(a->kind()).flag(a->isPassable());
  w.vec(a->position()).vec(a->direction()).number(a->width());
}

void describeObject(Writer& w, const Index& index, WorldObject* o) {
  if (auto* c = dynamic_cast<Creep*>(o)) {
    w.word("creep");
    describePeep(w, *c);
    w.number(c->lifetime);
  } else if (auto* p = dynamic_cast<Peep*>(o)) {
    w.word("peep");
    describePeep(w, *p);
  } else if (auto* s = dynamic_cast<SleepBuilding*>(o)) {
    w.word("sleep");
    describeBuilding(w, *s);
    w.word("beds").number(s->occupants).number(s->capacity).number(s->restProgress);
  } else if (auto* k = dynamic_cast<WorkBuilding*>(o)) {
    w.word("work");
    describeBuilding(w, *k);
    w.word("places").number(k->occupants).number(k->capacity).number(k->payoutProgress);
    w.word("timers");
    for (int i = 0; i < WorkBuilding::kMaxWorkers; ++i) {
      if (!(k->workTimers[i] < 0.0f)) w.number(i).number(k->workTimers[i]);
    }
  } else if (auto* m = dynamic_cast<MilitaryBuilding*>(o)) {
    w.word("military");
    describeBuilding(w, *m);
    w.word("arms").flag(m->armed).number(m->soldiers).number(m->turretAngle);
    w.flag(m->hasTarget).vec(m->target).number(m->targetFrame);
  } else if (auto* cb = dynamic_cast<CapitalBuilding*>(o)) {
    w.word("capital");
    describeBuilding(w, *cb);
  } else if (auto* b = dynamic_cast<Building*>(o)) {
    w.word("building");
    describeBuilding(w, *b);
  } else if (auto* r = dynamic_cast<Road*>(o)) {
    w.word(r->isWall() ? "wall" : "road");
    w.word("a");
    describeAnchor(w, index, r->anchorA);
    w.word("b");
    describeAnchor(w, index, r->anchorB);
    w.rect(r->extent);
  } else if (auto* t = dynamic_cast<Tree*>(o)) {
    w.word("tree").vec(t->centre).number(t->size);
    for (int i = 0; i < Tree::kBlobs; ++i) w.vec(t->blobs[i]).number(t->blobRadii[i]);
  } else if (auto* f = dynamic_cast<Fountain*>(o)) {
    w.word("fountain").vec(f->centre).number(f->radius);
  } else if (auto* g = dynamic_cast<GroundMarker*>(o)) {
    w.word("marker").vec(g->centre).number(g->radius);
  } else if (auto* gt = dynamic_cast<GuardTower*>(o)) {
    w.word("tower").vec(gt->centre).number(gt->radius);
    for (const TowerPost& post : gt->posts) w.vec(post.postPosition).vec(post.postDirection);
  } else if (auto* z = dynamic_cast<Zone*>(o)) {
    w.word("zone").rect(z->shownRect).rect(z->targetRect);
  } else if (auto* ct = dynamic_cast<CommandTool*>(o)) {
    w.word("command").number(ct->sweepCount).flag(ct->armed);
  } else if (auto* st = dynamic_cast<SelectionTool*>(o)) {
    w.word("selection").number(st->sweepCount);
  } else if (auto* rt = dynamic_cast<RepelTool*>(o)) {
    w.word("repel").number(rt->strength);
  } else if (auto* mp = dynamic_cast<MoneyPiece*>(o)) {
    w.word("money").number(mp->value).number(mp->startTime).vec(mp->position).vec(mp->origin);
  } else if (auto* dp = dynamic_cast<DrawnPath*>(o)) {
    w.word("path").number(dp->pointCount());
    for (int i = 0; i < dp->pointCount(); ++i) w.vec(dp->point(i));
  } else if (auto* bu = dynamic_cast<Burst*>(o)) {
    w.word("burst").vec(bu->centre).number(bu->startTime).number(bu->duration).number(bu->size);
  } else {
    // A kind this account does not know yet still shows where it is.
    w.word("object").word(typeid(*o).name()).rect(o->bounds());
  }
}

}  // namespace

std::string describeWorld(Game& g) {
  const Index index(g);
  Writer w;
  w.word("game").number(g.money).number(g.displayedMoney).number(g.frameCounter).number(g.agentCount);
  w.number(g.mode).number(g.zoomLevel).number(g.daylight);
  w.word("toggles").flag(g.slow).flag(g.debugView).flag(g.drawRoads).flag(g.repelToolActive);
  w.word("hand").number(index.of(g.held)).number(index.of(g.tool)).number(index.of(g.zone));
  w.vec(g.mouseVelocity);
  Application* app = g.application();
  w.word("view").number(app ? app->zoom() : 0.0f);
  w.word("random").number(static_cast<unsigned>(processRandom().state()));
  w.word("clock").number(FrameClock::seconds());
  w.endLine();
  w.word("palette");
  for (int i = 0; i < Game::kPaletteSlots; ++i) w.number(index.of(g.prototypes[i])).number(g.costs[i]);
  w.endLine();

  int i = 0;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject(), ++i) {
    w.number(i).flag(o->inactive).flag(o->settling).flag(o->destroyRequested).number(o->pulsePhase);
    w.flag(o->mouseDown).vec(o->mousePos);
    describeObject(w, index, o);
    w.endLine();
  }
  return w.take();
}

uint64_t digestOf(const std::string& text) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

uint64_t worldDigest(Game& g) {
  return digestOf(describeWorld(g));
}

std::string hexDigest(uint64_t digest) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(digest));
  return buf;
}

WorldCensus takeCensus(Game& g) {
  WorldCensus c;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    ++c.objects;
    if (o->inactive) continue;
    if (dynamic_cast<Creep*>(o)) {
      ++c.creeps;
    } else if (dynamic_cast<Peep*>(o)) {
      ++c.peeps;
    } else if (dynamic_cast<SleepBuilding*>(o)) {
      ++c.sleepBuildings;
    } else if (dynamic_cast<WorkBuilding*>(o)) {
      ++c.workBuildings;
    } else if (auto* m = dynamic_cast<MilitaryBuilding*>(o)) {
      ++c.militaryBuildings;
      if (m->armed) ++c.armedMilitary;
      c.soldiers += m->soldiers;
    } else if (dynamic_cast<CapitalBuilding*>(o)) {
      ++c.capitalBuildings;
    } else if (auto* r = dynamic_cast<Road*>(o)) {
      ++c.roads;
      if (r->isWall()) ++c.walls;
    } else if (dynamic_cast<Tree*>(o)) {
      ++c.trees;
    } else if (dynamic_cast<Fountain*>(o)) {
      ++c.fountains;
    } else if (dynamic_cast<GuardTower*>(o)) {
      ++c.guardTowers;
    } else if (auto* p = dynamic_cast<DrawnPath*>(o)) {
      ++c.paths;
      c.pathPoints += p->pointCount();
    } else if (dynamic_cast<MoneyPiece*>(o)) {
      ++c.moneyPieces;
    } else if (dynamic_cast<Burst*>(o)) {
      ++c.bursts;
    }
  }
  return c;
}

std::string describeCensus(const WorldCensus& c) {
  char buf[512];
  std::snprintf(buf, sizeof buf,
                "objects=%d peeps=%d creeps=%d sleep=%d work=%d capital=%d military=%d armed=%d "
                "soldiers=%d trees=%d fountains=%d towers=%d roads=%d walls=%d paths=%d pathPoints=%d "
                "moneyPieces=%d bursts=%d",
                c.objects, c.peeps, c.creeps, c.sleepBuildings, c.workBuildings, c.capitalBuildings,
                c.militaryBuildings, c.armedMilitary, c.soldiers, c.trees, c.fountains, c.guardTowers,
                c.roads, c.walls, c.paths, c.pathPoints, c.moneyPieces, c.bursts);
  return buf;
}
