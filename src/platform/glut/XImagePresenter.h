#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw/ImageView.h"

// Shows a 32-bit image in an X window: through a shared-memory image when
// the X server offers MIT-SHM to this process, otherwise (a remote display)
// through XPutImage. The image lives here; draw into frame() and present().
class XImagePresenter {
 public:
  // Null, with the reason, when the window's visual does not take 32-bit
  // 0x00RRGGBB pixels.
  static std::unique_ptr<XImagePresenter> create(Display* display, Window window, std::string& reason);
  ~XImagePresenter();
  XImagePresenter(const XImagePresenter&) = delete;
  XImagePresenter& operator=(const XImagePresenter&) = delete;

  // The image for the next frame, of this size; its contents are whatever
  // was presented last. Empty when no image of that size could be made.
  ImageView frame(int width, int height);
  // Shows the image on the window; the next frame may draw at once.
  void present();
  // Shows only the part of the image in area, the rest of the window
  // showing what it did: cheaper when little has changed.
  void present(const PixelBox& area);
  bool usesSharedMemory() const { return useSharedMemory_; }
  // True once a frame of the window's size has been presented.
  bool hasPresented() const { return presented_; }

 private:
  XImagePresenter(Display* display, Window window, Visual* visual, int depth);
  bool allocate(int width, int height);
  bool allocateShared(int width, int height);
  bool allocatePlain(int width, int height);
  void release();

  Display* display_;
  Window window_;
  Visual* visual_;
  int depth_;
  GC gc_ = nullptr;
  bool useSharedMemory_ = false;
  XImage* image_ = nullptr;
  XShmSegmentInfo segment_{};
  bool attached_ = false;
  std::vector<uint32_t> plainPixels_;
  bool presented_ = false;
};
