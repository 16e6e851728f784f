// Preloaded into the game by scripts/measure.py: appends one line per buffer
// swap ("swap <monotonic ns> <window>") and per key or button press that
// reaches the program ("input <monotonic ns>") to the file named by
// VERLOMBA_PROBE_LOG. It only watches; every call goes on to the real one.

#include <GL/glx.h>
#include <X11/Xlib.h>
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

}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static const auto next = real<void (*)(Display*, GLXDrawable)>("glXSwapBuffers");
  next(display, drawable);
  if (std::FILE* f = logFile()) std::fprintf(f, "swap %lld %lu\n", nowNanoseconds(), static_cast<unsigned long>(drawable));
}

extern "C" int XNextEvent(Display* display, XEvent* event) {
  static const auto next = real<int (*)(Display*, XEvent*)>("XNextEvent");
  const int result = next(display, event);
  if (event->type == KeyPress || event->type == ButtonPress) {
    if (std::FILE* f = logFile()) std::fprintf(f, "input %lld\n", nowNanoseconds());
  }
  return result;
}
