#include "images/ordered_pipeline.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace dw {
namespace {

class Pipeline {
 public:
  Pipeline(size_t count, size_t window, const std::function<void(size_t, int)>& prepare)
      : count_(count), window_(std::max<size_t>(window, 1)), prepare_(prepare), done_(count, 0), errors_(count) {}

  ~Pipeline() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    for (std::thread& t : workers_) t.join();
  }

  void StartWorkers(int n) {
    for (int i = 1; i <= n; ++i) workers_.emplace_back([this, i] { WorkerLoop(i); });
  }

  // Waits until item k is prepared (preparing it here if no worker has taken it); rethrows the
  // item's error.
  void AwaitPrepared(size_t k) {
    std::unique_lock lock(mutex_);
    while (!done_[k]) {
      if (next_claim_ == k) {
        RunOne(lock, 0);
      } else {
        changed_.wait(lock);
      }
    }
    if (errors_[k]) std::rethrow_exception(errors_[k]);
  }

  void Committed(size_t k) {
    {
      std::lock_guard lock(mutex_);
      next_commit_ = k + 1;
    }
    changed_.notify_all();
  }

 private:
  void WorkerLoop(int worker) {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return stop_ || next_claim_ >= count_ || next_claim_ < next_commit_ + window_; });
      if (stop_ || next_claim_ >= count_) return;
      RunOne(lock, worker);
    }
  }

  // Claims the next item and prepares it with the lock released.
  void RunOne(std::unique_lock<std::mutex>& lock, int worker) {
    const size_t i = next_claim_++;
    lock.unlock();
    std::exception_ptr error;
    try {
      prepare_(i, worker);
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    errors_[i] = error;
    done_[i] = 1;
    changed_.notify_all();
  }

  const size_t count_;
  const size_t window_;
  const std::function<void(size_t, int)>& prepare_;
  std::mutex mutex_;
  std::condition_variable changed_;
  size_t next_claim_ = 0;
  size_t next_commit_ = 0;
  bool stop_ = false;
  std::vector<char> done_;
  std::vector<std::exception_ptr> errors_;
  std::vector<std::thread> workers_;
};

}  // namespace

void RunOrdered(size_t count, int threads, size_t window, const std::function<void(size_t, int)>& prepare,
                const std::function<void(size_t)>& commit) {
  if (threads <= 1) {
    for (size_t i = 0; i < count; ++i) {
      prepare(i, 0);
      commit(i);
    }
    return;
  }
  Pipeline pipeline(count, window, prepare);
  pipeline.StartWorkers(threads);
  for (size_t k = 0; k < count; ++k) {
    pipeline.AwaitPrepared(k);
    commit(k);
    pipeline.Committed(k);
  }
}

}  // namespace dw
