// Pages converted on several threads come out as if converted one after another.
#include <gtest/gtest.h>

#include "engine/page_jobs.h"

#include <thread>

#include "engine/thread_scratch.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temp_dir.h"

using namespace quillon;
using namespace testing_support;

namespace {

struct Jobs : EngineFixture {
  TempDir sources;
  TempDir out1;
  TempDir outN;
  std::vector<std::string> names;
  Jobs() {
    for (int i = 0; i < 40; ++i) {
      std::string body;
      for (int line = 0; line < 50 + i * 7; ++line)
        body += "int f" + std::to_string(line) + "(); // class C" + std::to_string(i) + "\n";
      names.push_back("f" + std::to_string(i) + (i % 3 ? ".cpp" : ".cs"));
      sources.write(names.back(), body);
    }
    names.push_back("missing.cpp");
    names.push_back("f1.cpp");  // the same page twice: the later one wins either way
  }
  std::vector<PagePlan> plans(const std::string& out) {
    std::vector<PagePlan> p;
    for (const std::string& n : names) p.push_back({n, sources.path(), out, {}});
    return p;
  }
  std::vector<std::string> convertWith(int jobs, const std::string& out) {
    scripted::reset();
    settings.jobs = jobs;
    context.run.convertedFileCount = 0;
    convertPages(context, plans(out));
    return scripted::listLines();
  }
};

}  // namespace

TEST(PageJobs, GiveTheSameLinesCountAndPagesOnAnyNumberOfThreads) {
  Jobs j;
  std::vector<std::string> one = j.convertWith(1, j.out1.path());
  const int countOne = j.run.convertedFileCount;
  const std::string lastOne = j.run.lastOutputFileName;
  std::vector<std::string> many = j.convertWith(4, j.outN.path());
  EXPECT_EQ(many, one);
  EXPECT_EQ(j.run.convertedFileCount, countOne);
  EXPECT_EQ(countOne, 41);
  EXPECT_EQ(j.run.lastOutputFileName, lastOne);
  EXPECT_EQ(j.run.currentDirectory, j.outN.path());
  ASSERT_EQ(one.size(), 43u);
  EXPECT_EQ(one[0], "Converting f0.cs....");
  EXPECT_EQ(one[41], "<missing.cpp can't be read>");
  for (const std::string& n : j.names) EXPECT_EQ(j.outN.read(n + ".htm"), j.out1.read(n + ".htm")) << n;
}

TEST(PageJobs, AStopEndsTheRunWithoutHangingAndReportsPagesInOrder) {
  Jobs j;
  scripted::reset();
  j.settings.jobs = 3;
  int seen = 0;
  scripted::onLine([&](const std::string& line) {
    if (line.rfind("Converting", 0) == 0 && ++seen == 5) j.run.stopRequested = true;
  });
  convertPages(j.context, j.plans(j.outN.path()));
  std::vector<std::string> lines = scripted::listLines();
  EXPECT_GE(lines.size(), 5u);
  // The pages reported come in the order planned, and every one of them was written.
  size_t planned = 0;
  for (const std::string& line : lines) {
    if (line[0] == '<') continue;
    ASSERT_EQ(line.rfind("Converting ", 0), 0u) << line;
    const std::string name = line.substr(11, line.size() - 15);
    while (planned < j.names.size() && j.names[planned] != name) ++planned;
    ASSERT_LT(planned, j.names.size()) << "out of order: " << name;
    EXPECT_FALSE(j.outN.read(name + ".htm").empty()) << name;
  }
}

TEST(ThreadScratch, EachThreadHasItsOwnUntilItReleasesThem) {
  struct Counter {
    int uses = 0;
  };
  releaseThreadScratch();  // whatever earlier tests left on this thread
  ++threadScratch<Counter>().uses;
  ++threadScratch<Counter>().uses;
  int other = -1, afterRelease = -1;
  std::thread([&] {
    other = ++threadScratch<Counter>().uses;
    releaseThreadScratch();
    afterRelease = ++threadScratch<Counter>().uses;  // made anew
    releaseThreadScratch();
  }).join();
  EXPECT_EQ(other, 1);
  EXPECT_EQ(afterRelease, 1);
  EXPECT_EQ(threadScratch<Counter>().uses, 2);
}
