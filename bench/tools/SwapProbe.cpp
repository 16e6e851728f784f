// Preloaded into the game by scripts/measure.py: appends one line per frame
// shown ("swap <monotonic ns> <window> <how>", how being "gl" for a buffer
// swap, "shm" or "put" for an X image) and per key or button press that
// reaches the program ("input <monotonic ns>") to the file named by
// VERLOMBA_PROBE_LOG. It only watches; every call goes on to the real one.

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <dlfcn.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace {

std::FILE* logFile() {
  static std::FILE* file = [] {
    const char* path = std::getenv("VERLOMBA_PROBE_LOG");
    std::FILE* f = path ? std::fopen(path, "a") : nullptr;
    if (f) std::setvbuf(f, nullptr, _IOLBF, 0);
    return f;
  }();
  return file;
}

long long nowNanoseconds() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

template <class F>
F real(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

void logFrame(unsigned long window, const char* how) {
  if (std::FILE* f = logFile()) std::fprintf(f, "swap %lld %lu %s\n", nowNanoseconds(), window, how);
}

}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static const auto next = real<void (*)(Display*, GLXDrawable)>("glXSwapBuffers");
  next(display, drawable);
  logFrame(drawable, "gl");
}

extern "C" Bool XShmPutImage(Display* display, Drawable d, GC gc, XImage* image, int srcX, int srcY, int dstX,
                             int dstY, unsigned int width, unsigned int height, Bool sendEvent) {
  static const auto next =
      real<Bool (*)(Display*, Drawable, GC, XImage*, int, int, int, int, unsigned int, unsigned int, Bool)>(
          "XShmPutImage");
  const Bool result = next(display, d, gc, image, srcX, srcY, dstX, dstY, width, height, sendEvent);
  logFrame(d, "shm");
  return result;
}

extern "C" int XPutImage(Display* display, Drawable d, GC gc, XImage* image, int srcX, int srcY, int dstX,
                         int dstY, unsigned int width, unsigned int height) {
  static const auto next =
      real<int (*)(Display*, Drawable, GC, XImage*, int, int, int, int, unsigned int, unsigned int)>(
          "XPutImage");
  const int result = next(display, d, gc, image, srcX, srcY, dstX, dstY, width, height);
  logFrame(d, "put");
  return result;
}

extern "C" int XNextEvent(Display* display, XEvent* event) {
  static const auto next = real<int (*)(Display*, XEvent*)>("XNextEvent");
  const int result = next(display, event);
  if (event->type == KeyPress || event->type == ButtonPress) {
    if (std::FILE* f = logFile()) std::fprintf(f, "input %lld\n", nowNanoseconds());
  }
  return result;
}
