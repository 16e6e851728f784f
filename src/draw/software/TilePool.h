#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// How many threads draw a frame: setting (VERLOMBA_THREADS) when it is a
// number from 1 to 64, else the machine's cores, at most 8.
int drawingThreads(const char* setting, unsigned cores);
// The same from this process's environment and machine.
int drawingThreads();

// A few threads that share out numbered jobs with the thread that asks:
// the tiles of a frame. Started on the first run that has work for more
// than one thread, and kept until the pool goes.
//
//   TilePool pool(4);
//   pool.run(tiles.size(), [&](size_t i, int worker) { draw(tiles[i], scratch[worker]); });
class TilePool {
 public:
  explicit TilePool(int threads);
  ~TilePool();
  TilePool(const TilePool&) = delete;
  TilePool& operator=(const TilePool&) = delete;

  // Threads in all, the caller's included: workers are numbered from 0
  // (the caller) to threads() - 1.
  int threads() const { return threads_; }
  // Calls job(i, worker) once for every i below count, spread over the
  // threads; returns when every call has.
  void run(size_t count, const std::function<void(size_t, int)>& job);
  // Starts job(worker) once on each thread but the caller's, and returns
  // at once, so that the others work while the caller does something else;
  // reclaim waits for them. No run in between.
  void lend(const std::function<void(int)>& job);
  // Waits until every lent job has returned; one whose thread has not yet
  // woken is run on the caller's, as worker 0.
  void reclaim();
  bool lent() const { return lent_; }

 private:
  void start();
  void work(int worker);
  void take(int worker);
  // Hands out count jobs to the workers woken for them.
  void open(size_t count, const std::function<void(size_t, int)>* job);
  // Waits until the jobs handed out are done and their workers are back.
  void finish();

  int threads_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  // The run in progress: its number, its jobs, how many are done, and the
  // workers that joined it. A run waits for its jobs and those workers,
  // never for a worker not yet woken (on a busy machine, that can be long):
  // the caller takes the jobs such a worker would have.
  unsigned generation_ = 0;
  bool open_ = false;
  const std::function<void(size_t, int)>* job_ = nullptr;
  size_t count_ = 0;
  std::atomic<size_t> next_{0};
  std::atomic<size_t> finished_{0};
  int active_ = 0;
  bool stopping_ = false;
  std::function<void(size_t, int)> lentJob_;
  bool lent_ = false;
};
