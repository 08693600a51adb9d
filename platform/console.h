#pragma once
// The console's answers to the questions a run asks the user. The command sets them from
// its options before a run, since nobody sits at the console to answer.
#include <string>

namespace platform {

struct ConsoleAnswers {
  bool haveOutputDirectory = false;  ///< answer "Choose Output Directory" with `outputDirectory`
  std::string outputDirectory;
  bool openResult = false;           ///< answer Yes to "Would you like to open the file?"
};

void setConsoleAnswers(const ConsoleAnswers& answers);

/// Number of problem lines written since the start of the process.
int consoleProblemCount();

}  // namespace platform
