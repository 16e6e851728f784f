#include "game/ReachGrid.h"

#include <algorithm>

namespace {

using Member = ReachGrid::Member;

std::vector<Member>::iterator findSerial(std::vector<Member>& members, uint64_t serial) {
  const auto it = std::lower_bound(members.begin(), members.end(), serial,
                                   [](const Member& m, uint64_t s) { return m.serial < s; });
  return it != members.end() && it->serial == serial ? it : members.end();
}

void insertInOrder(std::vector<Member>& members, const Member& m) {
  const auto it = std::lower_bound(members.begin(), members.end(), m.serial,
                                   [](const Member& held, uint64_t s) { return held.serial < s; });
  members.insert(it, m);
}

void eraseSerial(std::vector<Member>& members, uint64_t serial) {
  const auto it = findSerial(members, serial);
  if (it != members.end()) members.erase(it);
}

}  // namespace

int ReachGrid::cellOf(float v) {
  const float c = std::floor(v / kCellSize);
  // Written so that infinities fold onto the edges.
  if (!(c >= 0.0f)) return 0;
  if (!(c < static_cast<float>(kCells))) return kCells - 1;
  return static_cast<int>(c);
}

ReachGrid::Span ReachGrid::spanOf(const Rect& box) {
  return {cellOf(box.minX), cellOf(box.maxX), cellOf(box.minY), cellOf(box.maxY)};
}

bool ReachGrid::isWide(const Member& m) {
  if (m.follows) return true;
  const Span s = spanOf(m.box);
  return (s.maxX - s.minX + 1) * (s.maxY - s.minY + 1) > kMostCells;
}

template <class F>
void ReachGrid::forEachListOf(const Member& m, F f) {
  if (isWide(m)) {
    f(wide_);
    return;
  }
  const Span s = spanOf(m.box);
  for (int y = s.minY; y <= s.maxY; ++y) {
    for (int x = s.minX; x <= s.maxX; ++x) f(cell(x, y));
  }
}

void ReachGrid::append(const Member& m) {
  all_.push_back(m);
  forEachListOf(m, [&](std::vector<Member>& list) { list.push_back(m); });
}

void ReachGrid::replace(const Member& m) {
  const auto held = findSerial(all_, m.serial);
  if (held != all_.end() && held->object) {
    forEachListOf(*held, [&](std::vector<Member>& list) { eraseSerial(list, m.serial); });
    all_.erase(held);
  }
  if (isNowhere(m.box)) return;
  insertInOrder(all_, m);
  forEachListOf(m, [&](std::vector<Member>& list) { insertInOrder(list, m); });
}

void ReachGrid::drop(uint64_t serial) {
  const auto held = findSerial(all_, serial);
  if (held == all_.end() || !held->object) return;
  forEachListOf(*held, [&](std::vector<Member>& list) {
    const auto it = findSerial(list, serial);
    if (it != list.end()) it->object = nullptr;
  });
  held->object = nullptr;
  ++holes_;
}

void ReachGrid::tidy() {
  if (holes_ * 4 <= all_.size()) return;
  auto sweep = [](std::vector<Member>& list) {
    list.erase(std::remove_if(list.begin(), list.end(), [](const Member& m) { return !m.object; }),
               list.end());
  };
  sweep(all_);
  sweep(wide_);
  for (std::vector<Member>& c : cells_) sweep(c);
  holes_ = 0;
}

void ReachGrid::clear() {
  all_.clear();
  wide_.clear();
  for (std::vector<Member>& c : cells_) c.clear();
  holes_ = 0;
}
