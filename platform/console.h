#pragma once
// The console's answers to the questions a run asks the user, and how it shows the run.
// The command sets them from its options before a run, since nobody sits at the console
// to answer.
#include <string>
#include <string_view>

namespace platform {

/// How the console shows a run's progress on standard output.
enum class ProgressStyle {
  Lines,  ///< every progress line as the Output dialog lists it
  Bar,    ///< one updating line for the pages (pages done of all, and the page begun);
          ///< the other lines as they are
  None,   ///< nothing on standard output (it carries a page); problems still go to stderr
};

struct ConsoleAnswers {
  bool haveOutputDirectory = false;  ///< answer "Choose Output Directory" with `outputDirectory`
  std::string outputDirectory;
  bool openResult = false;           ///< answer Yes to "Would you like to open the file?"
  ProgressStyle progress = ProgressStyle::Lines;
};

void setConsoleAnswers(const ConsoleAnswers& answers);

/// Number of problem lines written since the start of the process.
int consoleProblemCount();

/// `line` as the console writes it to a terminal: each control byte (below 0x20, 0x7f,
/// and the C1 controls U+0080 to U+009F spelt in UTF-8) as "\xNN", so that no name or
/// text can move the cursor, retitle or clear the terminal. Other bytes are kept.
std::string terminalText(std::string_view line);

}  // namespace platform
