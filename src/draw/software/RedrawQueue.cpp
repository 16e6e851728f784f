#include "draw/software/RedrawQueue.h"

#include <algorithm>

void RedrawQueue::nextFrame(double centreX, double centreY, double budgetPixels) {
  std::sort(shown_.begin(), shown_.end(), [](const Candidate& a, const Candidate& b) {
    if (a.far != b.far) return a.far;
    return a.distance != b.distance ? a.distance < b.distance : a.slot < b.slot;
  });
  due_.clear();
  double pixels = 0.0;
  for (const Candidate& c : shown_) {
    if (!due_.empty() && pixels + c.pixels > budgetPixels) break;
    pixels += c.pixels;
    due_.push_back(c.slot);
  }
  std::sort(due_.begin(), due_.end());
  shown_.clear();
  centreX_ = centreX;
  centreY_ = centreY;
}

void RedrawQueue::add(uint64_t slot, const PixelBox& box, double zoom) {
  const double dx = (box.left + box.right) * 0.5 - centreX_;
  const double dy = (box.top + box.bottom) * 0.5 - centreY_;
  const double pixels = static_cast<double>(box.right - box.left) * (box.bottom - box.top);
  shown_.push_back({slot, !(zoom >= 0.5 && zoom <= 2.0), dx * dx + dy * dy, pixels});
}

bool RedrawQueue::isDue(uint64_t slot) const {
  return std::binary_search(due_.begin(), due_.end(), slot);
}
