#pragma once
// Work spread over the run's threads: each item once, taken in order as threads come free.
#include <cstddef>
#include <functional>

namespace quillon {

/// Calls `work(i)` for every `i` below `count` on up to `threads` threads, the calling
/// thread among them, and returns when all are done. Each thread lets its scratch
/// buffers go before it ends.
void forEachOnThreads(size_t count, int threads, const std::function<void(size_t)>& work);

}  // namespace quillon
