#include "app/worker.h"

#include <gtest/gtest.h>

#include <future>
#include <string>

using namespace quillon;

TEST(Worker, RunsOneBodyAtATimeAndNotifiesAfterItReturned) {
  Worker worker;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::string order;
  bool runningWhenNotified = true;

  ASSERT_TRUE(startWorker(
      worker, [&] { released.wait(); order += "body;"; },
      [&] {
        order += "finished;";
        runningWhenNotified = workerRunning(worker);
      }));
  EXPECT_TRUE(workerRunning(worker));
  EXPECT_FALSE(startWorker(worker, [&] { order += "second;"; }));  // refused while running
  EXPECT_FALSE(stopWorker(worker));                                // never forced

  release.set_value();
  ASSERT_TRUE(waitForWorker(worker, 60000));
  EXPECT_EQ(order, "body;finished;");
  EXPECT_FALSE(runningWhenNotified);

  // A finished worker is forgotten by the next start.
  ASSERT_TRUE(startWorker(worker, [&] { order += "next;"; }));
  ASSERT_TRUE(waitForWorker(worker, 60000));
  EXPECT_EQ(order, "body;finished;next;");
}

TEST(Worker, AFailingBodyStillEndsTheRun) {
  Worker worker;
  bool finished = false;
  ASSERT_TRUE(startWorker(
      worker, [] { throw std::bad_alloc(); }, [&] { finished = true; }));
  ASSERT_TRUE(waitForWorker(worker, 60000));
  EXPECT_TRUE(finished);
}
