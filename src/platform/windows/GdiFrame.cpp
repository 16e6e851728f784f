#include "platform/windows/GdiFrame.h"

ImageView GdiFrame::frame(int width, int height) {
  if (width <= 0 || height <= 0) return {};
  if (width != width_ || height != height_) {
    pixels_.assign(static_cast<size_t>(width) * height, 0xFFFFFFu);
    width_ = width;
    height_ = height;
    presented_ = false;
  }
  ImageView view;
  view.pixels = pixels_.data();
  view.width = width;
  view.height = height;
  view.stride = width;
  return view;
}

void GdiFrame::present(HDC dc) {
  if (pixels_.empty()) return;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width_), static_cast<DWORD>(height_), 0, 0, 0,
                    static_cast<UINT>(height_), pixels_.data(), &info, DIB_RGB_COLORS);
  presented_ = true;
}
