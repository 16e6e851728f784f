#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

// The work of a frame that is not a tile's, in the order it is handed
// out: pictures to paint into layers and to resample, which the drawing
// threads can take while the game's thread still records the rest of the
// frame, and the shapes that span tiles, once it has. Taking waits while
// the queue is open and has nothing.
//
//   queue.open();
//   queue.push(job);  // while recording
//   ...on the drawing threads: while (queue.take(job)) run(job);
//   queue.close();    // nothing more: take returns false once all is taken
class PaintQueue {
 public:
  struct Job {
    enum class Kind : uint8_t { Layer, Resample, Shape };
    Kind kind = Kind::Layer;
    const void* what = nullptr;  // the layer or the resampler
    uint32_t op = 0;             // the shape's call
  };

  // Empties the queue for a frame; nobody may be taking.
  void open();
  // Hands out job; how many are waiting to be taken.
  size_t push(const Job& job);
  void close();
  // The next job, waiting for one while the queue is open; false once it is
  // closed and all is taken.
  bool take(Job& job);

 private:
  // A taker waiting is woken for this many jobs at once, not for each: a
  // wake costs about what a small job does.
  static constexpr size_t kWakeFor = 16;

  std::mutex mutex_;
  std::condition_variable ready_;
  std::vector<Job> jobs_;
  size_t next_ = 0;
  bool open_ = false;
  int waiting_ = 0;
};
