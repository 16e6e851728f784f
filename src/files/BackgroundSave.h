#pragma once

#include <future>
#include <optional>
#include <string>

#include "files/SaveFileAtomically.h"

// One atomic save at a time on a thread of its own, so that the frame which
// asks for it is not held up by the disk. The bytes are handed over whole:
// the caller may change what they came from at once.
class BackgroundSave {
 public:
  BackgroundSave() = default;
  BackgroundSave(const BackgroundSave&) = delete;
  BackgroundSave& operator=(const BackgroundSave&) = delete;
  // Waits for a save under way: a file is never left half replaced.
  ~BackgroundSave();

  // False, and nothing started, while the previous save is still under way.
  bool start(const std::string& path, std::string bytes);
  bool busy() const;
  // The outcome of the last save once it has ended, handed out once.
  std::optional<SaveResult> take();
  // Until the save under way, if any, has ended; its outcome is then taken.
  std::optional<SaveResult> wait();

 private:
  std::future<SaveResult> pending_;
};
