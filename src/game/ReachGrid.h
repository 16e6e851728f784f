#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/Reach.h"
#include "world/WorldObject.h"

// One query's share of the world list: the objects it can find with their
// reach boxes, in the list's order, sorted out by where the boxes lie. A box
// that covers a few cells of a grid over the field is listed in each of
// them; the rest (boxes that follow an agent, or reach far) are listed once
// and asked everywhere. The candidates at a point are its cell's members and
// the far-reaching ones, walked together newest first.
class ReachGrid {
 public:
  struct Member {
    uint64_t serial;      // order of construction, the list's reversed
    WorldObject* object;  // null once destroyed
    const Vec2* follows;
    Rect box;
  };

  // A member newer than every one held.
  void append(const Member& member);
  // Replaces what the grid holds of the member's object with the member, or
  // with nothing when its box is nowhere.
  void replace(const Member& member);
  // The object is destroyed: it is not visited again. Safe during a walk.
  void drop(uint64_t serial);
  // Sweeps out what drop left behind once it is much.
  void tidy();
  // Forgets every member.
  void clear();

  // Calls visit(object) for every active member whose box holds `at`, read
  // afresh for each (for every active member without culling), newest
  // first. The grid must not change during the walk but by drop.
  template <class Visit>
  void forEach(const Vec2& at, bool cull, Visit visit) const;

 private:
  static constexpr float kCellSize = 50.0f;
  static constexpr int kCells = 16;  // a side: the grid covers 0..800 square
  // Boxes over more cells than this are asked everywhere.
  static constexpr int kMostCells = 36;

  struct Span {
    int minX, maxX, minY, maxY;
  };
  // Cells outside the grid fold onto its edge, the same for boxes and
  // points, so a box and a point that meet share a cell.
  static int cellOf(float v);
  static Span spanOf(const Rect& box);
  static bool isWide(const Member& m);
  std::vector<Member>& cell(int x, int y) { return cells_[y * kCells + x]; }
  template <class F>
  void forEachListOf(const Member& m, F f);

  std::vector<Member> all_;   // every member, oldest first
  std::vector<Member> wide_;  // the ones asked everywhere, oldest first
  std::vector<Member> cells_[kCells * kCells];
  std::size_t holes_ = 0;
};

template <class Visit>
void ReachGrid::forEach(const Vec2& at, bool cull, Visit visit) const {
  auto consider = [&](const Member& m) {
    if (!m.object) return;
    if (cull && outside(m.box, m.follows ? at - *m.follows : at)) return;
    if (!m.object->inactive) visit(*m.object);
  };
  if (!cull || !std::isfinite(at.x) || !std::isfinite(at.y)) {
    // Nothing is provably out of reach of a point that is not finite.
    for (std::size_t i = all_.size(); i-- > 0;) consider(all_[i]);
    return;
  }
  const std::vector<Member>& local = cells_[cellOf(at.y) * kCells + cellOf(at.x)];
  std::size_t i = local.size();
  std::size_t j = wide_.size();
  while (i > 0 || j > 0) {
    if (j == 0 || (i > 0 && local[i - 1].serial > wide_[j - 1].serial)) {
      consider(local[--i]);
    } else {
      consider(wide_[--j]);
    }
  }
}
