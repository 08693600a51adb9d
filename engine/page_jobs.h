#pragma once
// Converting the pages of a run, on several threads when the settings allow it.
#include <vector>

#include "engine/converter.h"

namespace quillon {

/// Converts every planned page, in order as far as anyone can tell: the progress lines,
/// problems, count and last page come out exactly as if the pages were converted one
/// after another. With `settings.jobs` above 1 the pages themselves are converted on that
/// many threads. A stop request ends each page at its next line and starts no new page.
/// With `outcomes`, each reported page's outcome is kept there at its plan's place.
void convertPages(RunContext& context, const std::vector<PagePlan>& plans,
                  std::vector<PageOutcome>* outcomes = nullptr);

}  // namespace quillon
