// A request to stop a running job at its next safe point: set from a signal handler (Ctrl-C,
// SIGTERM) or by the desktop program when the user closes the window during a run.
#pragma once

#include <atomic>

namespace dw {

class StopRequest {
 public:
  // Safe to call from a signal handler.
  void Request() { requested_.store(true, std::memory_order_relaxed); }
  bool requested() const { return requested_.load(std::memory_order_relaxed); }
  void Reset() { requested_.store(false, std::memory_order_relaxed); }

 private:
  std::atomic<bool> requested_{false};
};
static_assert(std::atomic<bool>::is_always_lock_free);

}  // namespace dw
