#include <vector>

#include "game/FreshGame.h"
#include "world/WorldObject.h"
#include "world/Zone.h"

namespace {

using WorldList = EmptyWorld;

// A probe that logs its updates and can delete itself or spawn another.
class Probe : public WorldObject {
 public:
  Probe(Game& g, std::vector<int>* log, int id) : WorldObject(g), log_(log), id_(id) {}
  void update() override {
    if (log_) log_->push_back(id_);
    if (dieOnUpdate) destroyRequested = true;
    if (spawnOnUpdate) new Probe(*owner, log_, id_ + 100);
    spawnOnUpdate = false;
  }
  Rect bounds() override { return box; }
  void translate(float dx, float dy) override { box = offsetBy(box, {dx, dy}); }

  bool dieOnUpdate = false;
  bool spawnOnUpdate = false;
  Rect box;

 private:
  std::vector<int>* log_;
  int id_;
};

std::vector<WorldObject*> listOf(Game& g) {
  std::vector<WorldObject*> out;
  for (WorldObject* o = g.worldHead; o; o = o->nextObject()) out.push_back(o);
  return out;
}

TEST_F(WorldList, TickSkipsInactiveDeletesAfterUpdateClearsPointersAndDefersNewObjects) {
  std::vector<int> log;
  auto* sleeping = new Probe(g, &log, 0);
  sleeping->inactive = true;
  sleeping->settling = true;
  sleeping->box = Rect{0, 10, 0, 10};
  new Probe(g, &log, 1);
  auto* dying = new Probe(g, &log, 2);
  auto* spawner = new Probe(g, &log, 3);
  dying->dieOnUpdate = true;
  spawner->spawnOnUpdate = true;
  g.held = dying;
  g.tool = dying;
  g.mode = 1;
  g.zone = new Zone(g, Rect{150, 650, 150, 650});
  g.zone->destroyRequested = true;

  h.tick();
  // Newest first; the walk went on past the deleted object; the spawned one
  // waited for the next tick; the inactive one neither updated nor settled;
  // no pointer to a deleted object is left behind.
  EXPECT_EQ(log, (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(g.held, nullptr);
  EXPECT_EQ(g.tool, nullptr);
  EXPECT_EQ(g.zone, nullptr);
  EXPECT_EQ(g.mode, 0);
  EXPECT_EQ(listOf(g).size(), 4u);
  EXPECT_EQ(sleeping->box.minX, 0.0f);

  log.clear();
  h.tick();
  EXPECT_EQ(log, (std::vector<int>{103, 3, 1}));
}

}  // namespace
