#include "game/ReachIndex.h"

#include <algorithm>

namespace {

// Members are sorted by serial; a destroyed one keeps its serial.
template <class Members>
auto findSerial(Members& members, uint64_t serial) {
  auto it = std::lower_bound(members.begin(), members.end(), serial,
                             [](const auto& m, uint64_t s) { return m.serial < s; });
  return it != members.end() && it->serial == serial ? it : members.end();
}

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
  for (std::vector<Member>& members : members_) {
    const auto it = findSerial(members, object.serial_);
    if (it == members.end()) continue;
    it->object = nullptr;
    ++holes_;
  }
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
  // Holes are skipped cheaply; they are swept out once they are many.
  size_t size = 0;
  for (const std::vector<Member>& members : members_) size += members.size();
  if (static_cast<size_t>(holes_) * 4 > size) compact();
}

void ReachIndex::rebuild() {
  for (std::vector<Member>& members : members_) members.clear();
  std::vector<WorldObject*> list;
  for (WorldObject* o = head_; o; o = o->nextObject()) list.push_back(o);
  for (auto it = list.rbegin(); it != list.rend(); ++it) place(**it);
  added_.clear();
  changed_.clear();
  firstUnread_ = nextSerial_;
  holes_ = 0;
  stale_ = false;
}

void ReachIndex::place(WorldObject& object) {
  const Reach r = object.reach();
  const Rect* boxes[kQueries] = {&r.separation, &r.avoidance, &r.alignment, &r.affect, &r.point};
  for (int q = 0; q < kQueries; ++q) {
    if (!isNowhere(*boxes[q])) members_[q].push_back({object.serial_, &object, r.follows, *boxes[q]});
  }
}

void ReachIndex::update(WorldObject& object) {
  const Reach r = object.reach();
  const Rect* boxes[kQueries] = {&r.separation, &r.avoidance, &r.alignment, &r.affect, &r.point};
  for (int q = 0; q < kQueries; ++q) {
    std::vector<Member>& members = members_[q];
    const auto at = std::lower_bound(members.begin(), members.end(), object.serial_,
                                     [](const Member& m, uint64_t s) { return m.serial < s; });
    const bool listed = at != members.end() && at->serial == object.serial_ && at->object;
    if (isNowhere(*boxes[q])) {
      if (listed) {
        at->object = nullptr;
        ++holes_;
      }
    } else if (listed) {
      at->follows = r.follows;
      at->box = *boxes[q];
    } else if (at != members.end() && at->serial == object.serial_) {
      *at = {object.serial_, &object, r.follows, *boxes[q]};  // refills its own hole
      --holes_;
    } else {
      members.insert(at, {object.serial_, &object, r.follows, *boxes[q]});
    }
  }
}

void ReachIndex::compact() {
  for (std::vector<Member>& members : members_) {
    members.erase(std::remove_if(members.begin(), members.end(), [](const Member& m) { return !m.object; }),
                  members.end());
  }
  holes_ = 0;
}
