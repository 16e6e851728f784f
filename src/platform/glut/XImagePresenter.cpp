#include "platform/glut/XImagePresenter.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>

namespace {

// Set by the error handler while a shared-memory attach is tried: a server
// on another machine refuses the segment with an X error.
bool attachFailed = false;

int noteAttachError(Display*, XErrorEvent*) {
  attachFailed = true;
  return 0;
}

bool hostIsLittleEndian() {
  const uint32_t one = 1;
  return *reinterpret_cast<const unsigned char*>(&one) == 1;
}

}  // namespace

std::unique_ptr<XImagePresenter> XImagePresenter::create(Display* display, Window window,
                                                         std::string& reason) {
  XWindowAttributes attributes;
  if (!display || !window || !XGetWindowAttributes(display, window, &attributes)) {
    reason = "no X window to show the picture in";
    return nullptr;
  }
  const Visual* v = attributes.visual;
  if (attributes.depth < 24 || v->c_class != TrueColor || v->red_mask != 0xFF0000 ||
      v->green_mask != 0x00FF00 || v->blue_mask != 0x0000FF) {
    reason = "the window's visual does not take 8-bit red, green and blue";
    return nullptr;
  }
  std::unique_ptr<XImagePresenter> presenter(
      new XImagePresenter(display, window, attributes.visual, attributes.depth));
  if (!presenter->allocate(attributes.width, attributes.height)) {
    reason = "the X server does not take 32-bit pixels in this byte order";
    return nullptr;
  }
  return presenter;
}

XImagePresenter::XImagePresenter(Display* display, Window window, Visual* visual, int depth)
    : display_(display), window_(window), visual_(visual), depth_(depth) {
  gc_ = XCreateGC(display_, window_, 0, nullptr);
  useSharedMemory_ = XShmQueryExtension(display_);
}

XImagePresenter::~XImagePresenter() {
  release();
  if (gc_) XFreeGC(display_, gc_);
}

ImageView XImagePresenter::frame(int width, int height) {
  if (!image_ || image_->width != width || image_->height != height) {
    presented_ = false;
    if (!allocate(width, height)) return {};
  }
  ImageView view;
  view.pixels = reinterpret_cast<uint32_t*>(image_->data);
  view.width = image_->width;
  view.height = image_->height;
  view.stride = image_->bytes_per_line / 4;
  return view;
}

void XImagePresenter::present() {
  if (image_) present(PixelBox{0, 0, image_->width, image_->height});
}

void XImagePresenter::present(const PixelBox& area) {
  if (!image_) return;
  const int left = std::max(area.left, 0);
  const int top = std::max(area.top, 0);
  const int width = std::min(area.right, image_->width) - left;
  const int height = std::min(area.bottom, image_->height) - top;
  if (width <= 0 || height <= 0) return;  // the window shows it all already
  if (useSharedMemory_) {
    XShmPutImage(display_, window_, gc_, image_, left, top, left, top, width, height, False);
    // The server reads the pixels when it gets to the request: wait for it,
    // so the next frame cannot draw into a picture still being shown.
    XSync(display_, False);
  } else {
    XPutImage(display_, window_, gc_, image_, left, top, left, top, width, height);
    XFlush(display_);
  }
  presented_ = true;
}

bool XImagePresenter::allocate(int width, int height) {
  release();
  if (width <= 0 || height <= 0) return false;
  if (useSharedMemory_ && allocateShared(width, height)) return true;
  useSharedMemory_ = false;
  return allocatePlain(width, height);
}

bool XImagePresenter::allocateShared(int width, int height) {
  image_ = XShmCreateImage(display_, visual_, depth_, ZPixmap, nullptr, &segment_, width, height);
  if (!image_) return false;
  const bool layout =
      image_->bits_per_pixel == 32 && (image_->byte_order == LSBFirst) == hostIsLittleEndian();
  segment_.shmid =
      layout ? shmget(IPC_PRIVATE, static_cast<size_t>(image_->bytes_per_line) * height, IPC_CREAT | 0600)
             : -1;
  if (segment_.shmid < 0) {
    release();
    return false;
  }
  segment_.shmaddr = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
  if (segment_.shmaddr == reinterpret_cast<char*>(-1)) {
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    segment_.shmaddr = nullptr;
    release();
    return false;
  }
  image_->data = segment_.shmaddr;
  segment_.readOnly = False;
  attachFailed = false;
  XErrorHandler previous = XSetErrorHandler(noteAttachError);
  XShmAttach(display_, &segment_);
  XSync(display_, False);
  XSetErrorHandler(previous);
  // Marked for removal now, so the segment goes with the process however it ends.
  shmctl(segment_.shmid, IPC_RMID, nullptr);
  attached_ = !attachFailed;
  if (!attached_) {
    release();
    return false;
  }
  return true;
}

bool XImagePresenter::allocatePlain(int width, int height) {
  plainPixels_.assign(static_cast<size_t>(width) * height, 0u);
  image_ = XCreateImage(display_, visual_, depth_, ZPixmap, 0, reinterpret_cast<char*>(plainPixels_.data()),
                        width, height, 32, width * 4);
  if (!image_) return false;
  // Xlib converts from the image's byte order to the server's as it sends.
  image_->byte_order = hostIsLittleEndian() ? LSBFirst : MSBFirst;
  if (image_->bits_per_pixel != 32) {
    release();
    return false;
  }
  return true;
}

void XImagePresenter::release() {
  if (attached_) {
    XShmDetach(display_, &segment_);
    XSync(display_, False);
    attached_ = false;
  }
  if (segment_.shmaddr) {
    shmdt(segment_.shmaddr);
    segment_.shmaddr = nullptr;
  }
  if (image_) {
    image_->data = nullptr;  // not Xlib's to free
    XDestroyImage(image_);
    image_ = nullptr;
  }
  plainPixels_.clear();
}
