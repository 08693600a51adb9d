#pragma once
// The worker thread of a conversion run. There is at most one at a time. A run ends when
// its body returns: stopping is a request the body honours at its next check of the stop
// flag, never a forced end of the thread (that could leave files open and shared state
// half-written).
#include <atomic>
#include <functional>
#include <thread>

namespace quillon {

struct Worker {
  std::thread thread;
  std::atomic<bool> running{false};
};

/// Starts `body` on a new thread and, once it has returned, `finished` on that same
/// thread (the Output dialog posts itself a message there). Refuses, returning false,
/// while an earlier worker is still running; one that has returned is forgotten first.
bool startWorker(Worker& worker, std::function<void()> body,
                 std::function<void()> finished = {});

/// True from the start of the body until it has returned.
bool workerRunning(const Worker& worker);

/// Forgets a worker whose body has returned. A worker that is still running is left
/// alone (false): ask it to stop and call again once it has finished.
bool stopWorker(Worker& worker);

/// Waits up to `timeoutMs` for the worker to return, then forgets it. False when it is
/// still running. For the end of the program only, when no window waits on the worker.
bool waitForWorker(Worker& worker, int timeoutMs);

}  // namespace quillon
