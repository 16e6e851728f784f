#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One size of the window icon: size by size pixels, 0xAARRGGBB, row by row
// from the top.
struct WindowIconImage {
  int size = 0;
  std::vector<uint32_t> argb;
};

// The sizes built into the game, smallest first, from data/icons/window-icon.argb,
// which make icons renders from the same picture as the installed icons.
const std::vector<WindowIconImage>& windowIconImages();

// Reads that file's layout: for each size, its size as a 32-bit
// little-endian number and then its pixels, each 32-bit little-endian.
// Stops at the first size the bytes cannot hold.
std::vector<WindowIconImage> readWindowIcon(const unsigned char* bytes, std::size_t size);
