#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "draw/software/PaintQueue.h"
#include "draw/software/TilePool.h"

namespace {

// The jobs of a frame handed out while it is recorded: threads lent to the
// queue run each job once, whichever thread takes it, including the few
// still waiting when it closes (too few to wake a taker for); the caller
// takes its share once it has closed the queue.
TEST(PaintQueue, ThreadsLentToItRunEveryJobOnceAndTheCallerTheRest) {
  for (const int threads : {1, 2, 4}) {
    TilePool pool(threads);
    PaintQueue queue;
    constexpr int kJobs = 203;  // not a multiple of the batch a taker is woken for
    std::vector<std::atomic<int>> runs(kJobs);
    std::vector<int> values(kJobs);
    std::atomic<int> onOthers{0};
    const auto drain = [&](int worker) {
      PaintQueue::Job job;
      while (queue.take(job)) {
        runs[job.op].fetch_add(1);
        if (worker != 0) onOthers.fetch_add(1);
      }
    };
    for (int frame = 0; frame < 3; ++frame) {
      queue.open();
      for (int i = 0; i < kJobs; ++i) {
        values[i] = i;
        queue.push({PaintQueue::Job::Kind::Resample, &values[i], static_cast<uint32_t>(i)});
        if (i == 7) pool.lend(drain);
        if (i % 50 == 0) std::this_thread::yield();
      }
      queue.close();
      drain(0);
      pool.reclaim();
      EXPECT_FALSE(pool.lent());
      for (int i = 0; i < kJobs; ++i) {
        ASSERT_EQ(runs[i].exchange(0), 1) << threads << " threads, job " << i;
      }
    }
    // One thread has no others to lend; with more, a queue closed at once
    // may still leave them nothing, so only the sum is checked above.
    if (threads == 1) {
      EXPECT_EQ(onOthers.load(), 0);
    }
  }
}

// A pool lent and reclaimed at once, before its threads woke: the lent job
// runs on the caller, and the pool then runs jobs as before.
TEST(PaintQueue, AReclaimedPoolRunsWhatItsThreadsDidNotAndThenRunsAgain) {
  TilePool pool(2);
  std::atomic<int> lentRuns{0};
  pool.lend([&](int) { lentRuns.fetch_add(1); });
  pool.reclaim();
  EXPECT_EQ(lentRuns.load(), 1);
  std::vector<std::atomic<int>> done(64);
  pool.run(done.size(), [&](size_t i, int) { done[i].fetch_add(1); });
  for (const auto& d : done) EXPECT_EQ(d.load(), 1);
}

}  // namespace
