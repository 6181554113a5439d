// Work that may run ahead on worker threads, finished strictly in order on the calling thread.
#pragma once

#include <cstddef>
#include <functional>

namespace dw {

// Runs prepare(i, worker) for every i in [0, count) and commit(i) on the calling thread in order
// 0, 1, 2, ... once prepare(i) is done. With threads <= 1 everything runs on the calling thread
// (worker 0). Otherwise `threads` worker threads (worker 1 .. threads) prepare while the calling
// thread commits, so that the commits' file writes do not keep a core idle; the calling thread
// prepares (as worker 0) only an item that no worker has taken. At most `window` items are
// claimed ahead of the next commit. An exception from prepare(i) is thrown when commit would reach
// i; an exception from commit ends the run. Either way the workers stop and are joined before
// RunOrdered returns or throws.
void RunOrdered(size_t count, int threads, size_t window, const std::function<void(size_t, int)>& prepare,
                const std::function<void(size_t)>& commit);

}  // namespace dw
