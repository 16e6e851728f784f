#include "files/BackgroundSave.h"

#include <chrono>
#include <utility>

BackgroundSave::~BackgroundSave() {
  wait();
}

bool BackgroundSave::start(const std::string& path, std::string bytes) {
  if (busy()) return false;
  take();  // an outcome nobody asked for is dropped
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
  // A browser build without threads saves at once, into memory anyway.
  std::promise<SaveResult> done;
  done.set_value(saveFileAtomically(path, bytes));
  pending_ = done.get_future();
#else
  pending_ = std::async(std::launch::async,
                        [path, bytes = std::move(bytes)] { return saveFileAtomically(path, bytes); });
#endif
  return true;
}

bool BackgroundSave::busy() const {
  return pending_.valid() && pending_.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

std::optional<SaveResult> BackgroundSave::take() {
  if (!pending_.valid() || busy()) return std::nullopt;
  return pending_.get();
}

std::optional<SaveResult> BackgroundSave::wait() {
  if (!pending_.valid()) return std::nullopt;
  return pending_.get();
}
