#include "convert/parallel_each.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace dw {

void ForEachIndex(size_t count, int threads, const std::function<void(size_t)>& work) {
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
  std::vector<std::exception_ptr> errors(count);
  auto loop = [&] {
    for (size_t i; !failed.load(std::memory_order_relaxed) && (i = next.fetch_add(1)) < count;) {
      try {
        work(i);
      } catch (...) {
        errors[i] = std::current_exception();
        failed = true;
      }
    }
  };
  std::vector<std::thread> helpers;
  const size_t wanted = std::min(count, static_cast<size_t>(std::max(threads, 1))) - (count > 0 ? 1 : 0);
  for (size_t t = 0; t < wanted; ++t) {
    try {
      helpers.emplace_back(loop);
    } catch (const std::system_error&) {
      break;  // no more threads to be had: the others do the work
    }
  }
  loop();
  for (std::thread& t : helpers) t.join();
  for (const std::exception_ptr& e : errors) {
    if (e) std::rethrow_exception(e);
  }
}

int ThreadsFor(int requested, int limit) {
  const int wanted = requested > 0 ? requested : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return std::clamp(wanted, 1, std::max(limit, 1));
}

}  // namespace dw
