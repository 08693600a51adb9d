#include "engine/parallel.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "engine/thread_scratch.h"

namespace quillon {

void forEachOnThreads(size_t count, int threads, const std::function<void(size_t)>& work) {
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t i = next++; i < count; i = next++) work(i);
  };
  const size_t extra = std::min(count, static_cast<size_t>(std::max(threads, 1))) - (count > 0);
  std::vector<std::thread> workers;
  for (size_t t = 0; t < extra; ++t)
    workers.emplace_back([&] {
      worker();
      releaseThreadScratch();
    });
  worker();
  for (std::thread& w : workers) w.join();
}

}  // namespace quillon
