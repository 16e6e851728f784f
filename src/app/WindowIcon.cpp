#include "app/WindowIcon.h"

#include <algorithm>

extern const unsigned char kWindowIconData[];
extern const std::size_t kWindowIconDataSize;

namespace {

uint32_t readLittleEndian(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

std::vector<WindowIconImage> readWindowIcon(const unsigned char* bytes, std::size_t size) {
  std::vector<WindowIconImage> images;
  std::size_t at = 0;
  while (size - at >= 4) {
    const uint32_t side = readLittleEndian(bytes + at);
    at += 4;
    // An icon larger than 1024 pixels a side is no icon.
    if (side == 0 || side > 1024 || (size - at) / 4 / side < side) break;
    WindowIconImage image;
    image.size = static_cast<int>(side);
    image.argb.resize(static_cast<std::size_t>(side) * side);
    for (uint32_t& pixel : image.argb) {
      pixel = readLittleEndian(bytes + at);
      at += 4;
    }
    images.push_back(std::move(image));
  }
  std::sort(images.begin(), images.end(),
            [](const WindowIconImage& a, const WindowIconImage& b) { return a.size < b.size; });
  return images;
}

const std::vector<WindowIconImage>& windowIconImages() {
  static const std::vector<WindowIconImage> images = readWindowIcon(kWindowIconData, kWindowIconDataSize);
  return images;
}
