#include "workspace/solution.h"

#include <algorithm>
#include <set>

#include "engine/converter.h"
#include "engine/encoding.h"
#include "engine/html_text.h"
#include "platform/platform.h"
#include "workspace/workspace.h"

namespace quillon {

namespace {

/// The project type of a solution folder.
constexpr std::string_view solutionFolderKind = "{2150E333-8FDC-42A3-9474-1A3956D46DE8}";

std::string upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

/// The texts between pairs of double quotes, in order.
std::vector<std::string> quotedTexts(std::string_view line) {
  std::vector<std::string> texts;
  size_t open = line.find('"');
  while (open != std::string_view::npos) {
    const size_t close = line.find('"', open + 1);
    if (close == std::string_view::npos) break;
    texts.emplace_back(line.substr(open + 1, close - open - 1));
    open = line.find('"', close + 1);
  }
  return texts;
}

std::vector<SolutionProject> readSolution(RunState& run, const std::string& file, bool* ok) {
  std::vector<SolutionProject> projects;
  LineReader reader;
  *ok = reader.open(file);
  std::string line;
  while (*ok && !run.stopRequested && reader.readLine(line))
    if (std::optional<SolutionProject> project = solutionProjectLine(line))
      projects.push_back(std::move(*project));
  *ok = *ok && !reader.failed();
  return projects;
}

/// Converts one listed project into its workspace. Its entry on the solution page, or
/// nothing when no index page was written.
std::optional<SolutionEntry> convertListedProject(RunContext& context, const std::string& file,
                                                  const SolutionProject& project) {
  context.run.lastOutputFileName.clear();
  SourceFileConverter converter(context);
  const std::string folder = directoryOf(file);
  convertProject(converter, platform::resolvePath(folder, project.path), ProjectOrigin{folder});
  if (context.run.lastOutputFileName.empty()) return std::nullopt;
  return SolutionEntry{project.name, context.run.lastOutputFileName};
}

}  // namespace

std::optional<SolutionProject> solutionProjectLine(std::string_view line) {
  const size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::nullopt;
  std::string_view text = line.substr(start);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (text.substr(0, 9) != "Project(\"") return std::nullopt;
  std::vector<std::string> texts = quotedTexts(text);
  if (texts.size() < 3) return std::nullopt;
  return SolutionProject{std::move(texts[0]), std::move(texts[1]), std::move(texts[2])};
}

bool isSolutionFolder(const SolutionProject& project) {
  return upper(project.kind) == solutionFolderKind;
}

std::string solutionPageText(const std::string& solutionName,
                             const std::vector<SolutionEntry>& entries, bool utf8) {
  const std::string title = elementText(solutionName) + " Solution";
  std::string text = "<!DOCTYPE html>\n<html>\n<head>\n"
                     "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" +
                     std::string(pageCharset(utf8)) + "\">\n<title>" + title +
                     "</title>\n</head>\n<body>\n<h1>" + title + "</h1>\n";
  if (entries.empty()) {
    text += "<p>No project was converted.</p>\n";
  } else {
    text += "<ul>\n";
    for (const SolutionEntry& entry : entries)
      text += "<li><a href=\"" + fileNameLinkTarget(entry.indexPage) + "\">" +
              elementText(entry.name) + "</a></li>\n";
    text += "</ul>\n";
  }
  return text + "</body>\n</html>\n";
}

std::string solutionPageName(const std::string& solutionName) {
  return indexFileName(solutionName + "_Solution");
}

void convertSolution(RunContext& context, const std::string& path) {
  RunState& run = context.run;
  if (run.stopRequested || !haveWorkspaceData(context)) return;
  const std::string file = platform::resolvePath(run.currentDirectory, path);
  const std::string outputDirectory = context.settings.outputDirectory;
  bool readable = false;
  const std::vector<SolutionProject> projects = readSolution(run, file, &readable);
  if (!readable) {
    addProblem(run, "<" + baseName(path) + " can't be read>");
    return;
  }
  std::vector<SolutionEntry> entries;
  std::set<std::string> folders;
  for (const SolutionProject& project : projects) {
    if (run.stopRequested) break;
    if (isSolutionFolder(project)) continue;
    if (!isProjectFile(project.path)) {
      addProblem(run, "<" + project.path + " can't be converted>");
      continue;
    }
    // Two projects of one file name would share a workspace folder.
    if (!folders.insert(upper(projectFolderName(project.path))).second) {
      addProblem(run, "<" + project.path + " can't be converted: its workspace folder is taken>");
      continue;
    }
    std::optional<SolutionEntry> entry = convertListedProject(context, file, project);
    if (!entry) continue;
    const bool taken = std::any_of(entries.begin(), entries.end(), [&](const SolutionEntry& e) {
      return upper(e.indexPage) == upper(entry->indexPage);
    });
    if (taken) addProblem(run, "<" + entry->indexPage + " is the index page of two projects>");
    entries.push_back(std::move(*entry));
  }

  std::string name = baseName(file);
  name = name.substr(0, name.rfind('.'));
  const std::string page = solutionPageName(name);
  context.settings.outputDirectory = outputDirectory;
  if (writeTextFile(platform::joinPath(outputDirectory, page),
                    solutionPageText(name, entries, isUtf8File(file)))) {
    run.lastOutputFileName = page;
  } else {
    addProblem(run, "<" + page + " can't be written>");
  }
  run.currentDirectory = context.settings.startupDirectory;
}

}  // namespace quillon
