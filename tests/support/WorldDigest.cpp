#include "support/WorldDigest.h"

#include <cstdio>
#include <cstring>

#include "agents/Peep.h"
#include "game/Game.h"
#include "world/WorldObject.h"
#include "world/Zone.h"

namespace {

class Writer {
 public:
  void word(const char* w) {
    text_ += w;
    text_ += ' ';
  }
  void number(float f) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%a ", static_cast<double>(f));
    text_ += buf;
  }
  void number(int i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d ", i);
    text_ += buf;
  }
  void vec(Vec2 v) {
    number(v.x);
    number(v.y);
  }
  void rect(const Rect& r) {
    number(r.minX);
    number(r.maxX);
    number(r.minY);
    number(r.maxY);
  }
  void endLine() { text_ += '\n'; }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

void describePeep(Writer& w, Peep& p) {
  w.word(p.isCreep() ? "creep" : "peep");
  w.number(p.state);
  w.number(p.anger);
  w.vec(p.position);
  w.number(p.heading);
  w.number(p.turnRate);
  w.number(p.speed);
  w.vec(p.push);
  w.number(p.hasTarget ? 1 : 0);
  w.vec(p.target);
  w.number(p.selected ? 1 : 0);
}

}  // namespace

std::string describeWorld(Game& g) {
  Writer w;
  w.word("game");
  w.number(g.money);
  w.number(g.displayedMoney);
  w.number(g.frameCounter);
  w.number(g.agentCount);
  w.number(g.mode);
  w.number(g.zoomLevel);
  w.number(g.daylight);
  w.endLine();
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) {
    w.number(o->inactive ? 1 : 0);
    w.number(o->settling ? 1 : 0);
    w.number(o->destroyRequested ? 1 : 0);
    if (auto* p = dynamic_cast<Peep*>(o)) {
      describePeep(w, *p);
    } else if (auto* z = dynamic_cast<Zone*>(o)) {
      w.word("zone");
      w.rect(z->shownRect);
      w.rect(z->targetRect);
    } else {
      w.word("object");
      w.rect(o->bounds());
    }
    w.endLine();
  }
  return w.take();
}

uint64_t worldDigest(Game& g) {
  const std::string text = describeWorld(g);
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}
