#pragma once

#include <cstdint>
#include <vector>

#include "game/ReachGrid.h"
#include "world/WorldObject.h"

// The world list sorted out by query: for each query, the objects it can
// find and their reach boxes (see ReachGrid), kept in the list's order, so
// a query can skip every object whose box does not hold the agent and still
// sum the rest in the order a walk of the whole list would.
//
// Objects join when built and leave when destroyed; their serials keep the
// list's order (see WorldObject::serial). A reach is read when its object
// joins, and again after the object moves or says it changed (a new point
// of a path, places freed in a building); after any move, the reaches that
// hang on others are read again too. Agents' boxes follow their positions
// and need no re-reading.
class ReachIndex {
 public:
  enum Query { kSeparation, kAvoidance, kAlignment, kAffect, kPoint, kSlot, kQueries };

  ReachIndex() = default;
  ReachIndex(const ReachIndex&) = delete;
  ReachIndex& operator=(const ReachIndex&) = delete;

  // A new object, read at the next query, when it is whole.
  void add(WorldObject& object) { added_.push_back(&object); }
  void remove(WorldObject& object);
  // Forgets every object, for a world that replaces the whole list.
  void clear();
  // Both take effect at the next query.
  void reread(WorldObject& object) { changed_.push_back(&object); }
  void moved(WorldObject& object) {
    changed_.push_back(&object);
    somethingMoved_ = true;
  }

  // Calls visit(object) for every active object of the list, in list order,
  // that the query can find at `at`; `at` is read afresh for each object, so
  // the visit may change the agent it belongs to. Without culling, every
  // active object is visited. Objects built during the walk are left for the
  // next query, objects destroyed during it are not visited; a visit must
  // not start another query.
  template <class Visit>
  void forEach(Query query, const Vec2& at, bool cull, Visit visit);

 private:
  void sync();
  void place(WorldObject& object);
  void update(WorldObject& object);

  ReachGrid grids_[kQueries];
  std::vector<WorldObject*> added_;    // not yet read, oldest first
  std::vector<WorldObject*> changed_;  // to read again
  std::vector<WorldObject*> hangers_;  // reaches that hang on others
  bool somethingMoved_ = false;
};

template <class Visit>
void ReachIndex::forEach(Query query, const Vec2& at, bool cull, Visit visit) {
  sync();
  grids_[query].forEach(at, cull, visit);
}
