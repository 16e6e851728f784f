#include "draw/software/TilePool.h"

#include <algorithm>
#include <cstdlib>

int drawingThreads(const char* setting, unsigned cores) {
  if (setting && *setting) {
    char* end = nullptr;
    const long n = std::strtol(setting, &end, 10);
    if (*end == '\0' && n >= 1 && n <= 64) return static_cast<int>(n);
  }
  return static_cast<int>(std::clamp(cores, 1u, 8u));
}

int drawingThreads() {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
  return 1;  // a browser build without threads: the page's own thread draws
#else
  return drawingThreads(std::getenv("VERLOMBA_THREADS"), std::thread::hardware_concurrency());
#endif
}

TilePool::TilePool(int threads) : threads_(std::max(threads, 1)) {}

TilePool::~TilePool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& t : workers_) t.join();
}

void TilePool::start() {
  for (int w = 1; w < threads_; ++w) workers_.emplace_back(&TilePool::work, this, w);
}

void TilePool::take(int worker) {
  for (size_t i = next_.fetch_add(1); i < count_; i = next_.fetch_add(1)) {
    (*job_)(i, worker);
    finished_.fetch_add(1);
  }
}

void TilePool::open(size_t count, const std::function<void(size_t, int)>* job) {
  if (workers_.empty()) start();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    job_ = job;
    count_ = count;
    next_.store(0);
    finished_.store(0);
    open_ = true;
    ++generation_;
  }
  wake_.notify_all();
}

void TilePool::finish() {
  take(0);
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return finished_.load() == count_ && active_ == 0; });
  open_ = false;
  job_ = nullptr;
}

void TilePool::run(size_t count, const std::function<void(size_t, int)>& job) {
  if (count == 0) return;
  if (threads_ == 1 || count == 1) {
    for (size_t i = 0; i < count; ++i) job(i, 0);
    return;
  }
  open(count, &job);
  finish();
}

void TilePool::lend(const std::function<void(int)>& job) {
  if (threads_ == 1 || lent_) return;
  lentJob_ = [job](size_t, int worker) { job(worker); };
  lent_ = true;
  open(static_cast<size_t>(threads_ - 1), &lentJob_);
}

void TilePool::reclaim() {
  if (!lent_) return;
  finish();
  lent_ = false;
}

void TilePool::work(int worker) {
  unsigned seen = 0;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || (open_ && generation_ != seen); });
      if (stopping_) return;
      seen = generation_;
      ++active_;
    }
    take(worker);
    std::lock_guard<std::mutex> lock(mutex_);
    if (--active_ == 0 && finished_.load() == count_) done_.notify_one();
  }
}
