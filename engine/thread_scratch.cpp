#include "engine/thread_scratch.h"

namespace quillon {

namespace {
// Plain arrays and counts: nothing here has a destructor to run at thread exit.
constexpr int maxScratch = 32;
thread_local void (*releasers[maxScratch])();
thread_local int scratchCount = 0;
}  // namespace

namespace detail {
void rememberScratch(void (*release)()) {
  // More kinds of buffer than places: the rest are kept until the process ends.
  if (scratchCount < maxScratch) releasers[scratchCount++] = release;
}
}  // namespace detail

void releaseThreadScratch() {
  while (scratchCount > 0) releasers[--scratchCount]();
}

}  // namespace quillon
