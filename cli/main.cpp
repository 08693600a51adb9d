// The quillon command: converts files as the main window converts dropped files, with the
// answers to its questions taken from the options.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/runs.h"
#include "cli/links_command.h"
#include "cli/options.h"
#include "engine/file_kinds.h"
#include "engine/keyword_sets.h"
#include "engine/page_writer.h"
#include "platform/console.h"
#include "platform/platform.h"
#include "quillon_version.h"

using namespace quillon;

namespace {

ShellState shell;

extern "C" void onInterrupt(int) {
  // A confirmed Stop: the engine ends at its next check of the flag.
  shell.run.cancelled = true;
  shell.run.stopRequested = true;
}

/// Whether the run may hold a big workspace in memory: a folder, a project or a solution,
/// or any workspace with cross-references, text search or incremental runs. Those ask
/// for large pages, which cost a small run more than they give it.
bool mayHoldMuch(const CommandOptions& options) {
  if (options.pages || options.standardInput) return false;
  if (options.crossReferences || options.textSearch || options.incremental) return true;
  const std::string cwd = platform::currentDirectory();
  return std::any_of(options.inputs.begin(), options.inputs.end(), [&](const std::string& input) {
    return isProjectFile(input) || isSolutionFile(input) ||
           platform::directoryExists(platform::resolvePath(cwd, input));
  });
}

/// The data folder: the one given, else data/ beside the program (or one level up, as in
/// a build tree), else the installed share/quillon, else the program's own folder (as in
/// the Windows package, where the data files stand beside the programs).
std::string findDataDirectory(const std::string& given) {
  if (!given.empty()) return platform::resolvePath(platform::currentDirectory(), given);
  const std::string here = platform::programDirectory();
  for (const char* candidate : {"data", "../data", "../share/quillon", "."}) {
    std::string dir = platform::resolvePath(here, candidate);
    if (platform::fileExists(platform::joinPath(dir, "SourceTree_Template.htm"))) return dir;
  }
  return platform::resolvePath(here, "data");
}

/// Creates `dir` and its missing parents. False when it is not a directory afterwards.
bool makeDirectories(const std::string& dir) {
  if (platform::directoryExists(dir)) return true;
  std::string parent = directoryOf(dir);
  if (!parent.empty() && parent != dir && !platform::directoryExists(parent) &&
      !makeDirectories(parent))
    return false;
  return platform::createDirectory(dir);
}

/// The keywords the --keywords options add: "modern", or the words of a keywords file
/// (named relative to `cwd`). False with `error` naming the file and line otherwise.
bool addKeywords(const std::vector<std::string>& choices, const std::string& cwd,
                 ConversionSettings& settings, std::string* error) {
  if (choices.empty()) return true;
  KeywordAdditions additions;
  for (const std::string& choice : choices) {
    if (choice == "modern") {
      additions.modern = true;
      continue;
    }
    std::string text, what;
    if (!readWholeFile(platform::resolvePath(cwd, choice), &text)) {
      *error = "cannot read the keywords file " + choice;
      return false;
    }
    if (!readKeywordFile(text, &additions, &what)) {
      *error = choice + ": " + what;
      return false;
    }
  }
  settings.keywords = std::make_shared<const KeywordSet>(additions);
  return true;
}

/// Writes `text` to `stream` line by line, each as terminal text.
void writeTerminalLines(std::FILE* stream, std::string_view text) {
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    const std::string line = platform::terminalText(text.substr(0, end)) + "\n";
    std::fputs(line.c_str(), stream);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
}

int fail(const std::string& message, int status) {
  writeTerminalLines(stderr, "quillon: " + message + "\n");
  return status;
}

/// One line naming the problem, and where to read more.
int usageError(const std::string& message) {
  return fail(message + "\n" + usageHint("quillon"), 2);
}

/// A links file named with --links must be one that can be read; only the default file
/// may be missing (no links then).
bool checkLinksFile(const std::string& given, const std::string& path, std::string* error) {
  std::string text;
  if (given.empty() || readWholeFile(path, &text)) return true;
  *error = "cannot read the reference links file " + given +
           (platform::directoryExists(path) ? ": it is a folder"
            : !platform::fileExists(path)   ? ": there is no such file"
                                            : "");
  return false;
}

platform::ProgressStyle progressStyle(const CommandOptions& options) {
  if (options.standardInput) return platform::ProgressStyle::None;
  switch (options.progress) {
    case ProgressChoice::Bar: return platform::ProgressStyle::Bar;
    case ProgressChoice::Lines: return platform::ProgressStyle::Lines;
    case ProgressChoice::Auto: break;
  }
  return platform::isTerminal(stdout) ? platform::ProgressStyle::Bar
                                      : platform::ProgressStyle::Lines;
}

int runLinks(const std::vector<std::string>& args) {
  LinksCommandResult links = runLinksCommand(args, platform::currentDirectory());
  writeTerminalLines(stdout, links.out);
  writeTerminalLines(stderr, links.err);
  return links.status;
}

/// The page of standard input on standard output, both carrying bytes as they are.
int convertStandardInput(const CommandOptions& options) {
  platform::setBinaryMode(stdin);
  platform::setBinaryMode(stdout);
  std::string content;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) content.append(buffer, n);
  if (std::ferror(stdin)) return fail("cannot read standard input", 1);
  openOutputDialog(shell.run, nullptr);
  const bool converted = textRun(shell.context, std::move(content), options.language, stdout);
  if (shell.run.cancelled) return 130;
  return converted && platform::consoleProblemCount() == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "links")
    return runLinks(std::vector<std::string>(argv + 2, argv + argc));
  CommandOptions options;
  std::string error;
  if (!parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), &options, &error))
    return usageError(error);
  if (options.help) {
    std::fputs(usageText(), stdout);
    return 0;
  }
  if (options.version) {
    std::puts("quillon " QUILLON_VERSION);
    return 0;
  }
  if (mayHoldMuch(options)) platform::useLargePages(argv);

  const std::string cwd = platform::currentDirectory();
  ConversionSettings& settings = shell.settings;
  settings.colors = chosenColours(options);
  settings.theme = options.theme;
  settings.richColours = options.richColours;
  settings.fontFace = options.fontFace;
  settings.lineNumbers = options.lineNumbers;
  settings.crossReferences = options.crossReferences;
  settings.textSearch = options.textSearch;
  settings.incremental = options.incremental;
  settings.trees = options.trees;
  settings.referenceLinksFile = platform::resolvePath(
      cwd, options.linksFile.empty() ? std::string(referenceLinksFileName) : options.linksFile);
  if (!checkLinksFile(options.linksFile, settings.referenceLinksFile, &error))
    return fail(error, 2);
  if (!addKeywords(options.keywords, cwd, settings, &error)) return fail(error, 1);
  settings.jobs = options.jobs > 0 ? options.jobs
                                   : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (options.maxFileSize) settings.maxFileSize = options.maxFileSize;
  settings.startupDirectory = findDataDirectory(options.dataDirectory);
  shell.run.currentDirectory = cwd;

  platform::ConsoleAnswers answers;
  answers.openResult = options.open;
  answers.progress = progressStyle(options);
  if (options.haveOutputDirectory) {
    settings.useDefaultOutputDirectory = false;
    answers.haveOutputDirectory = true;
    answers.outputDirectory = platform::resolvePath(cwd, options.outputDirectory);
    if (!makeDirectories(answers.outputDirectory))
      return fail("cannot create the output directory " + answers.outputDirectory, 1);
  }
  platform::setConsoleAnswers(answers);
  std::signal(SIGINT, onInterrupt);
  if (options.standardInput) return convertStandardInput(options);

  std::vector<std::string> inputs;
  for (const std::string& input : options.inputs)
    inputs.push_back(platform::resolvePath(cwd, input));
  openOutputDialog(shell.run, nullptr);
  droppedFilesRun(shell.context, inputs, options.pages ? DropMode::Pages : DropMode::Workspace);
  if (shell.run.cancelled) {
    finishStoppedRun(shell.context);
    return 130;
  }
  return platform::consoleProblemCount() > 0 ? 1 : 0;
}
