#include "engine/page_jobs.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "engine/thread_scratch.h"

namespace quillon {

namespace {

void convertOneByOne(RunContext& context, const std::vector<PagePlan>& plans,
                     std::vector<PageOutcome>* outcomes) {
  RunState& run = context.run;
  for (size_t i = 0; i < plans.size(); ++i) {
    const PagePlan& plan = plans[i];
    if (run.stopRequested) return;
    run.currentSourcePath = plan.path;
    announcePage(run, plan.path);
    SourceFileConverter converter(context);
    PageOutcome outcome = convertPage(converter, plan);
    recordPage(run, outcome);
    if (outcomes) (*outcomes)[i] = std::move(outcome);
    run.currentDirectory = plan.outputDirectory;
  }
}

/// The pages of a run shared out between threads. Each thread takes the next page not
/// yet taken; the run's own thread reports the pages in order as they are done, so that
/// it alone touches the run state and the progress list. The threads stay at most a few
/// pages ahead of the report, so a stop leaves little converted that was not yet listed.
/// A thread is woken only when another waits for what it did, and the report only once
/// there is a batch for it: the page it awaits is done and the converting threads are
/// half their way to the limit, or have taken the last page, or one waits for its turn.
/// Waking a thread costs more than a small page; most pages cost no system call at all.
class PageQueue {
 public:
  PageQueue(RunContext& context, const std::vector<PagePlan>& plans, size_t threads,
            std::vector<PageOutcome>* kept)
      : context_(context),
        plans_(plans),
        kept_(kept),
        aheadLimit_(4 * threads),
        outcomes_(plans.size()),
        done_(plans.size(), false) {}

  void work() {
    for (size_t i = next_++; i < plans_.size(); i = next_++) {
      waitForTurn(i);
      std::optional<PageOutcome> outcome;
      if (!context_.run.stopRequested) {
        SourceFileConverter converter(context_);
        outcome = convertPage(converter, plans_[i]);
      }
      std::unique_lock<std::mutex> hold(lock_);
      outcomes_[i] = std::move(outcome);
      done_[i] = true;
      const bool batch = reportAwaitsDonePage() && (next_ >= plans_.size() ||
                                                    next_ - awaited_ >= aheadLimit_ / 2);
      hold.unlock();
      if (batch) pageDone_.notify_one();
    }
    releaseThreadScratch();
  }

  /// Reports the page at `i` once it is done. A page that was never started (a stop came
  /// first) is not reported.
  void report(size_t i) {
    std::unique_lock<std::mutex> hold(lock_);
    if (!done_[i]) {
      awaited_ = i;
      pageDone_.wait(hold, [&] { return done_[i]; });
      awaited_ = noPage;
    }
    if (!outcomes_[i]) return;
    PageOutcome outcome = std::move(*outcomes_[i]);
    hold.unlock();
    RunState& run = context_.run;
    run.currentSourcePath = plans_[i].path;
    announcePage(run, plans_[i].path);
    recordPage(run, outcome);
    if (kept_) (*kept_)[i] = std::move(outcome);
    run.currentDirectory = plans_[i].outputDirectory;
    hold.lock();
    reported_ = i + 1;
    const bool waiting = turnWaiters_ > 0;
    hold.unlock();
    if (waiting) pageReported_.notify_all();
  }

 private:
  /// Waits until page `i` is few enough pages ahead of the report, or a stop came. The
  /// stop flag is set by another thread without notice, so it is looked at now and then.
  void waitForTurn(size_t i) {
    std::unique_lock<std::mutex> hold(lock_);
    while (i >= reported_ + aheadLimit_ && !context_.run.stopRequested) {
      if (reportAwaitsDonePage()) pageDone_.notify_one();
      ++turnWaiters_;
      pageReported_.wait_for(hold, std::chrono::milliseconds(20));
      --turnWaiters_;
    }
  }

  /// Whether the report waits for a page that is done (under the lock).
  bool reportAwaitsDonePage() const { return awaited_ != noPage && done_[awaited_]; }

  static constexpr size_t noPage = ~size_t{0};

  RunContext& context_;
  const std::vector<PagePlan>& plans_;
  std::vector<PageOutcome>* kept_;
  const size_t aheadLimit_;
  std::atomic<size_t> next_{0};
  size_t reported_ = 0;
  size_t awaited_ = noPage;  ///< the page the report waits for
  size_t turnWaiters_ = 0;   ///< converting threads waiting for their turn
  std::mutex lock_;
  std::condition_variable pageDone_;      ///< the report's: a page is done
  std::condition_variable pageReported_;  ///< the converting threads': a page was reported
  std::vector<std::optional<PageOutcome>> outcomes_;
  std::vector<bool> done_;
};

}  // namespace

void convertPages(RunContext& context, const std::vector<PagePlan>& plans,
                  std::vector<PageOutcome>* outcomes) {
  if (outcomes) outcomes->assign(plans.size(), PageOutcome());
  if (plans.empty() || context.run.stopRequested) return;
  platform::expectPages(context.run.outputWindow, static_cast<int>(plans.size()));
  const size_t threads =
      std::min(static_cast<size_t>(std::max(context.settings.jobs, 1)), plans.size());
  if (threads <= 1) {
    convertOneByOne(context, plans, outcomes);
    return;
  }
  PageQueue queue(context, plans, threads, outcomes);
  std::vector<std::thread> workers;
  for (size_t t = 0; t < threads; ++t) workers.emplace_back([&queue] { queue.work(); });
  for (size_t i = 0; i < plans.size(); ++i) queue.report(i);
  for (std::thread& worker : workers) worker.join();
}

}  // namespace quillon
