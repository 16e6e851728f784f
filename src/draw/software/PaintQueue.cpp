#include "draw/software/PaintQueue.h"

void PaintQueue::open() {
  std::lock_guard<std::mutex> lock(mutex_);
  jobs_.clear();
  next_ = 0;
  open_ = true;
}

size_t PaintQueue::push(const Job& job) {
  std::unique_lock<std::mutex> lock(mutex_);
  jobs_.push_back(job);
  const size_t waiting = jobs_.size() - next_;
  const bool wake = waiting_ > 0 && waiting >= kWakeFor;
  lock.unlock();
  if (wake) ready_.notify_all();
  return waiting;
}

void PaintQueue::close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = false;
  }
  ready_.notify_all();
}

bool PaintQueue::take(Job& job) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (next_ == jobs_.size() && open_) {
    ++waiting_;
    ready_.wait(lock, [this] { return !open_ || jobs_.size() - next_ >= kWakeFor; });
    --waiting_;
  }
  if (next_ == jobs_.size()) return false;
  job = jobs_[next_++];
  return true;
}
