#include "game/ReachIndex.h"

#include <algorithm>

namespace {

// The boxes of a reach, by query.
struct Boxes {
  explicit Boxes(const Reach& r)
      : at{&r.separation, &r.avoidance, &r.alignment, &r.affect, &r.point, &r.slot} {}
  const Rect* at[ReachIndex::kQueries];
};

}  // namespace

void ReachIndex::remove(WorldObject& object) {
  changed_.erase(std::remove(changed_.begin(), changed_.end(), &object), changed_.end());
  hangers_.erase(std::remove(hangers_.begin(), hangers_.end(), &object), hangers_.end());
  const auto unread = std::lower_bound(added_.begin(), added_.end(), object.serial(),
                                       [](const WorldObject* o, uint64_t s) { return o->serial() < s; });
  if (unread != added_.end() && *unread == &object) {
    added_.erase(unread);
    return;
  }
  for (ReachGrid& grid : grids_) grid.drop(object.serial());
}

void ReachIndex::clear() {
  for (ReachGrid& grid : grids_) grid.clear();
  added_.clear();
  changed_.clear();
  hangers_.clear();
  somethingMoved_ = false;
}

void ReachIndex::sync() {
  for (WorldObject* o : added_) place(*o);
  added_.clear();
  if (somethingMoved_) {
    for (WorldObject* o : hangers_) update(*o);
    somethingMoved_ = false;
  }
  for (WorldObject* o : changed_) update(*o);
  changed_.clear();
  for (ReachGrid& grid : grids_) grid.tidy();
}

void ReachIndex::place(WorldObject& object) {
  const Reach r = object.reach();
  const Boxes boxes(r);
  for (int q = 0; q < kQueries; ++q) {
    if (!isNowhere(*boxes.at[q])) grids_[q].append({object.serial(), &object, r.follows, *boxes.at[q]});
  }
  if (r.hangsOnOthers) hangers_.push_back(&object);
}

void ReachIndex::update(WorldObject& object) {
  const Reach r = object.reach();
  const Boxes boxes(r);
  for (int q = 0; q < kQueries; ++q) grids_[q].replace({object.serial(), &object, r.follows, *boxes.at[q]});
}
