#include "support/PictureDifference.h"

#include <algorithm>
#include <cstdlib>

PictureDifference pictureDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b,
                                    int offBy) {
  const auto channel = [](uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFFu); };
  PictureDifference d;
  d.picture.resize(a.size());
  long off = 0;
  double sum = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    int largest = 0;
    for (int shift : {0, 8, 16}) {
      const int delta = std::abs(channel(a[i], shift) - channel(b[i], shift));
      largest = std::max(largest, delta);
      sum += delta;
    }
    off += largest > offBy;
    const auto grey = static_cast<uint32_t>(192 + channel(a[i], 8) / 4);
    d.picture[i] = largest > offBy ? 0xFF0000u | static_cast<uint32_t>(std::min(255, largest)) << 8
                                   : grey << 16 | grey << 8 | grey;
  }
  d.offShare = static_cast<double>(off) / static_cast<double>(a.size());
  d.mean = sum / (3.0 * static_cast<double>(a.size()));
  return d;
}
