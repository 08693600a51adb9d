#include "app/worker.h"

#include "engine/thread_scratch.h"
#include "platform/platform.h"

namespace quillon {

bool startWorker(Worker& worker, std::function<void()> body, std::function<void()> finished) {
  if (!stopWorker(worker)) return false;
  worker.running = true;
  worker.thread = std::thread([&worker, body = std::move(body), finished = std::move(finished)] {
    // A failure inside a run (out of memory) ends the run, not the program.
    try {
      body();
    } catch (...) {
    }
    releaseThreadScratch();
    worker.running = false;
    if (finished) finished();
  });
  return true;
}

bool workerRunning(const Worker& worker) { return worker.running; }

bool stopWorker(Worker& worker) {
  if (worker.running) return false;
  // The thread has at most its finished notification left to do.
  if (worker.thread.joinable()) worker.thread.join();
  return true;
}

bool waitForWorker(Worker& worker, int timeoutMs) {
  for (int waited = 0; worker.running && waited < timeoutMs; waited += 10)
    platform::sleepMilliseconds(10);
  return stopWorker(worker);
}

}  // namespace quillon
