#include "draw/software/PictureCache.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr size_t kBudgetBytes = 32u << 20;

// Whether a picture kept with state kept was drawn as it would be under
// now, but perhaps under another view.
bool sameDrawing(const PictureState& kept, const PictureState& now, PictureKind kind) {
  const float* a = kept.color;
  const float* b = now.color;
  const bool rgb = kind == PictureKind::Shadow || (a[0] == b[0] && a[1] == b[1] && a[2] == b[2]);
  const bool color = !kept.usesColor || (rgb && a[3] == b[3]);
  return color && (!kept.usesLineWidth || kept.lineWidth == now.lineWidth) &&
         (!kept.usesPointSize || kept.pointSize == now.pointSize) && kept.widthScale == now.widthScale;
}

bool sameView(const PictureState& kept, const PictureState& now) {
  return kept.scale == now.scale && kept.offsetX == now.offsetX && kept.offsetY == now.offsetY;
}

}  // namespace

uint64_t PictureCache::slotOf(const PictureKey& key) {
  // One slot per picture, not per object: a palette prototype casts two
  // shadows each frame, one in the field and one in its cell.
  uint64_t h = key.owner * 0x9E3779B97F4A7C15ull;
  h ^= (key.state + (key.kind == PictureKind::Shadow ? 0x632BE59BD9B4E019ull : 0)) + (h << 6) + (h >> 2);
  return h;
}

size_t PictureCache::bytesOf(const Picture& p) {
  return sizeof(Picture) + p.pixels.size() * sizeof(uint32_t) + p.coverage.size();
}

PictureCache::Picture* PictureCache::find(const PictureKey& key, const PictureState& state) {
  Picture* p = findUnderAnyView(key, state);
  if (!p || !sameView(p->state, state)) return nullptr;
  p->lastShown = frame_;
  return p;
}

PictureCache::Picture* PictureCache::findUnderOtherView(const PictureKey& key, const PictureState& state) {
  Picture* p = findUnderAnyView(key, state);
  if (!p || sameView(p->state, state)) return nullptr;
  p->lastShown = frame_;
  return p;
}

uint64_t PictureCache::familySlotOf(const PictureKey& key) {
  return slotOf({key.owner, key.kind, key.family ^ 0x2545F4914F6CDD1Dull, 0});
}

PictureCache::Picture* PictureCache::findRelative(const PictureKey& key, const PictureState& state) {
  if (key.family == 0) return nullptr;
  const auto family = families_.find(familySlotOf(key));
  if (family == families_.end()) return nullptr;
  const auto it = pictures_.find(family->second);
  if (it == pictures_.end() || !it->second.made) return nullptr;
  Picture& p = it->second;
  if (p.key.owner != key.owner || p.key.kind != key.kind || p.key.family != key.family ||
      p.key.state == key.state || !sameDrawing(p.state, state, key.kind))
    return nullptr;
  p.lastShown = frame_;
  return &p;
}

PictureCache::Picture* PictureCache::findUnderAnyView(const PictureKey& key, const PictureState& state) {
  const auto it = pictures_.find(slotOf(key));
  if (it == pictures_.end() || !it->second.made) return nullptr;
  Picture& p = it->second;
  if (p.key.state != key.state || p.key.kind != key.kind || !sameDrawing(p.state, state, key.kind))
    return nullptr;
  return &p;
}

PictureCache::Picture* PictureCache::reserve(const PictureKey& key, const PictureState& state) {
  const auto [it, fresh] = pictures_.try_emplace(slotOf(key));
  Picture& p = it->second;
  if (!fresh) {
    if (!p.made) return nullptr;
    bytes_ -= std::min(bytes_, bytesOf(p));
    if (!p.pixels.empty()) retiredPixels_.push_back(std::move(p.pixels));
    if (!p.coverage.empty()) retiredCoverage_.push_back(std::move(p.coverage));
    p.pixels.clear();
    p.coverage.clear();
  }
  p.key = key;
  p.state = state;
  p.width = p.height = 0;
  p.serial = ++keeps_;
  p.lastShown = frame_;
  p.keptAt = frame_;
  p.made = false;
  ++unsettled_;
  if (key.family != 0) families_[familySlotOf(key)] = it->first;
  return &p;
}

void PictureCache::settle(Picture& p) {
  p.made = true;
  --unsettled_;
  bytes_ += bytesOf(p);
}

void PictureCache::take(Picture& p, const PictureKey& key, const PictureState& state, const ImageView& layer,
                        int left, int top) {
  // Trim to the rows and columns that were painted.
  // Most of a layer is empty: blocks of pixels are tested at once, and a
  // row is searched from each end only as far as its first painted pixel.
  constexpr int kBlock = 16;
  const auto blank = [](const uint32_t* p) {
    uint32_t any = 0;
    for (int i = 0; i < kBlock; ++i) any |= p[i];
    return any == 0;
  };
  int x0 = layer.width, x1 = -1, y0 = layer.height, y1 = -1;
  for (int y = 0; y < layer.height; ++y) {
    const uint32_t* row = layer.row(y);
    int first = 0;
    while (first + kBlock <= layer.width && blank(row + first)) first += kBlock;
    while (first < layer.width && row[first] == 0) ++first;
    if (first == layer.width) continue;
    int last = layer.width - 1;
    while (last - kBlock + 1 > first && blank(row + last - kBlock + 1)) last -= kBlock;
    while (row[last] == 0) --last;
    x0 = std::min(x0, first);
    x1 = std::max(x1, last);
    y0 = std::min(y0, y);
    y1 = y;
  }
  p.key = key;
  p.state = state;
  p.left = left + (x1 < x0 ? 0 : x0);
  p.top = top + (y1 < y0 ? 0 : y0);
  p.width = x1 < x0 ? 0 : x1 - x0 + 1;
  p.height = y1 < y0 ? 0 : y1 - y0 + 1;
  p.pixels.clear();
  p.coverage.clear();
  const size_t n = static_cast<size_t>(p.width) * p.height;
  if (key.kind == PictureKind::Shadow) {
    p.coverage.resize(n);
  } else {
    p.pixels.resize(n);
  }
  for (int y = 0; y < p.height; ++y) {
    const uint32_t* from = layer.row(y0 + y) + x0;
    if (key.kind == PictureKind::Shadow) {
      for (int x = 0; x < p.width; ++x)
        p.coverage[static_cast<size_t>(y) * p.width + x] = static_cast<uint8_t>(from[x] >> 24);
    } else {
      std::memcpy(p.pixels.data() + static_cast<size_t>(y) * p.width, from, p.width * sizeof(uint32_t));
    }
  }
}

size_t PictureCache::cutCount() const {
  size_t n = 0;
  for (const auto& [slot, p] : pictures_) n += p.cut ? 1 : 0;
  return n;
}

void PictureCache::nextFrame() {
  ++frame_;
  retiredPixels_.clear();
  retiredCoverage_.clear();
  // What the last frame did not show is of an object that moved, changed or
  // went; a few frames' grace, then it goes too. What a frame that was not
  // ended reserved was never painted, and goes at once.
  const bool unsettled = unsettled_ > 0;
  unsettled_ = 0;
  if (frame_ % 8 != 0 && bytes_ <= kBudgetBytes && !unsettled) return;
  for (auto it = pictures_.begin(); it != pictures_.end();) {
    if (it->second.lastShown + 1 < frame_ || !it->second.made) {
      if (it->second.made) bytes_ -= std::min(bytes_, bytesOf(it->second));
      const auto family = families_.find(familySlotOf(it->second.key));
      if (it->second.key.family != 0 && family != families_.end() && family->second == it->first)
        families_.erase(family);
      it = pictures_.erase(it);
    } else {
      ++it;
    }
  }
}
