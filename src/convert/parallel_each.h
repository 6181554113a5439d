// Running independent pieces of work of the copy and the read-back on several threads.
#pragma once

#include <cstddef>
#include <functional>

namespace dw {

// Calls `work(i)` once for every i in [0, count), on up to `threads` threads (this one among
// them), claiming indices in increasing order. Returns when all calls have ended; then rethrows
// the exception of the lowest index that threw, if any. After a call throws, indices not yet
// claimed are skipped.
void ForEachIndex(size_t count, int threads, const std::function<void(size_t)>& work);

// The threads worth using for `requested` (0: one per core), at most `limit`.
int ThreadsFor(int requested, int limit);

}  // namespace dw
