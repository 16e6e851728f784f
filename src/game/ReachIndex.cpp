#include "game/ReachIndex.h"

#include <algorithm>

namespace {

// The boxes of a reach, by query.
struct Boxes {
  explicit Boxes(const Reach& r) : at{&r.separation, &r.avoidance, &r.alignment, &r.affect, &r.point} {}
  const Rect* at[ReachIndex::kQueries];
};

}  // namespace

uint64_t ReachIndex::add(WorldObject& object) {
  added_.push_back(&object);
  return nextSerial_++;
}

void ReachIndex::remove(WorldObject& object) {
  changed_.erase(std::remove(changed_.begin(), changed_.end(), &object), changed_.end());
  if (object.serial_ >= firstUnread_) {
    // Not read yet; objects leave newest first when a world is torn down.
    const auto it = std::find(added_.rbegin(), added_.rend(), &object);
    if (it != added_.rend()) added_.erase(std::next(it).base());
    return;
  }
  for (ReachGrid& grid : grids_) grid.drop(object.serial_);
}

void ReachIndex::sync() {
  if (stale_) {
    rebuild();
    return;
  }
  for (WorldObject* o : changed_) {
    if (o->serial_ < firstUnread_) update(*o);
  }
  changed_.clear();
  for (WorldObject* o : added_) place(*o);
  added_.clear();
  firstUnread_ = nextSerial_;
  for (ReachGrid& grid : grids_) grid.tidy();
}

void ReachIndex::rebuild() {
  for (ReachGrid& grid : grids_) grid.clear();
  std::vector<WorldObject*> list;
  for (WorldObject* o = head_; o; o = o->nextObject()) list.push_back(o);
  for (auto it = list.rbegin(); it != list.rend(); ++it) place(**it);
  added_.clear();
  changed_.clear();
  firstUnread_ = nextSerial_;
  stale_ = false;
}

void ReachIndex::place(WorldObject& object) {
  const Reach r = object.reach();
  const Boxes boxes(r);
  for (int q = 0; q < kQueries; ++q) {
    if (!isNowhere(*boxes.at[q])) grids_[q].append({object.serial_, &object, r.follows, *boxes.at[q]});
  }
}

void ReachIndex::update(WorldObject& object) {
  const Reach r = object.reach();
  const Boxes boxes(r);
  for (int q = 0; q < kQueries; ++q) grids_[q].replace({object.serial_, &object, r.follows, *boxes.at[q]});
}
