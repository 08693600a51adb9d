#include "workspace/project_file.h"

#include <algorithm>
#include <optional>

#include "engine/converter.h"
#include "platform/platform.h"
#include "workspace/msbuild_project.h"

namespace quillon {

namespace {

constexpr size_t npos = std::string_view::npos;

bool has(std::string_view line, std::string_view key) { return line.find(key) != npos; }

/// Where a listed path starts in `searched`, by a delimiter chosen from the whole `line`:
/// a line with "..\" keeps its relative prefix, so the path starts after the first
/// double quote; otherwise after the first backslash (which drops a leading ".\"); else
/// after the first double quote; with none of them, at the start. Nothing when the
/// chosen delimiter is not in `searched`.
std::optional<size_t> pathStart(std::string_view line, std::string_view searched) {
  char delimiter = 0;
  if (has(line, "..\\")) {
    delimiter = '"';
  } else if (has(line, "\\")) {
    delimiter = '\\';
  } else if (has(line, "\"")) {
    delimiter = '"';
  } else {
    return 0;
  }
  size_t at = searched.find(delimiter);
  if (at == npos) return std::nullopt;
  return at + 1;
}

/// The name between the first and the last double quote; nothing without two quotes.
std::optional<std::string> quotedName(std::string_view line) {
  size_t first = line.find('"');
  size_t last = line.rfind('"');
  if (first == npos || last == first) return std::nullopt;
  return std::string(line.substr(first + 1, last - first - 1));
}

void setName(ProjectModel& project, std::string name) {
  project.indexName = name + "_Project";
  project.displayName = std::move(name);
}

/// A "RelativePath" attribute: the quoted path ends at its closing quote, so an element
/// written on one line (`<File RelativePath=".\a.h"></File>`) still gives a.h. A value
/// without a closing quote loses its last character (the element's closing bracket).
std::string relativePathLine(ProjectModel& project, std::string_view line) {
  std::optional<size_t> start = pathStart(line, line);
  if (!start) return std::string(projectParseFailure);
  std::string_view rest = line.substr(*start);
  size_t quote = rest.find('"');
  if (quote != npos) {
    addListedFile(project, std::string(rest.substr(0, quote)));
  } else if (!rest.empty()) {
    addListedFile(project, std::string(rest.substr(0, rest.size() - 1)));
  }
  return {};
}

/// The path of an unquoted "SOURCE=..\x.cpp" line: everything after the key, which must
/// start the line (blanks aside) and be followed by a path. Nothing otherwise.
std::optional<std::string> unquotedDspPath(std::string_view line) {
  constexpr std::string_view key = "SOURCE=";
  const size_t at = line.find(key);
  if (line.find_first_not_of(" \t") != at) return std::nullopt;
  std::string_view path = line.substr(at + key.size());
  path.remove_prefix(std::min(path.find_first_not_of(" \t"), path.size()));
  path = path.substr(0, path.find_last_not_of(" \t") + 1);
  if (path.empty()) return std::nullopt;
  return std::string(path);
}

/// A "SOURCE=" line of a .dsp: the rest of the line, up to a closing quote. A path with
/// "..\" is quoted when it holds a space, and written bare otherwise.
std::string dspSourceLine(ProjectModel& project, std::string_view line) {
  std::optional<size_t> start = pathStart(line, line);
  if (!start) {
    std::optional<std::string> bare = unquotedDspPath(line);
    if (!bare) return std::string(projectParseFailure);
    addListedFile(project, *bare);
    return {};
  }
  std::string_view rest = line.substr(*start);
  addListedFile(project, std::string(rest.substr(0, rest.find('"'))));
  return {};
}

/// "<RootNamespace>Name</RootNamespace>": the text between the first ">" and the last
/// "<" names the project, replacing any earlier name. A tag split over lines is ignored.
void rootNamespaceLine(ProjectModel& project, std::string_view line) {
  size_t open = line.find('>');
  size_t close = line.rfind('<');
  if (open == npos || close == npos || close <= open) return;
  setName(project, std::string(line.substr(open + 1, close - open - 1)));
}

/// A "Compile Include=" item: the line is cut at its last double quote and the path is
/// what follows the delimiter in the cut line. A line without quotes is ignored.
std::string compileItemLine(ProjectModel& project, std::string_view line) {
  size_t last = line.rfind('"');
  if (last == npos) return {};
  std::string_view cut = line.substr(0, last);
  std::optional<size_t> start = pathStart(line, cut);
  if (!start) return std::string(projectFileParseFailure);
  addListedFile(project, std::string(cut.substr(*start)));
  return {};
}

}  // namespace

void addListedFile(ProjectModel& project, const std::string& path) {
  if (path.empty()) return;
  if (endsWithIgnoreCase(path, ".h") || endsWithIgnoreCase(path, ".hpp")) {
    project.headerFiles.push_back(path);
  } else if (isResourceFile(path)) {
    project.resourceFiles.push_back(path);
  } else {
    project.sourceFiles.push_back(path);
  }
}

void clearProject(ProjectModel& project) { project = ProjectModel(); }

// Folder lines ("Source Files", "Header Files", "Resource Files") need no rule of their
// own: they hold none of the keys below and fall through. Testing them before the path
// keys would drop a file whose path runs through a folder of that name.
std::string readProjectLine(ProjectModel& project, std::string_view line) {
  if (has(line, "Name=") && project.displayName.empty()) {
    if (std::optional<std::string> name = quotedName(line)) setName(project, *name);
    return {};
  }
  if (has(line, "RelativePath")) return relativePathLine(project, line);
  if (has(line, "SOURCE=")) return dspSourceLine(project, line);
  if (has(line, "<RootNamespace>")) {
    rootNamespaceLine(project, line);
    return {};
  }
  if (has(line, "Compile Include=")) return compileItemLine(project, line);
  return {};
}

bool readProjectFile(SourceFileConverter& converter, const std::string& path) {
  RunState& run = converter.context.run;
  clearProject(converter.project);
  const std::string file = platform::resolvePath(run.currentDirectory, path);
  const MsbuildFormat format = msbuildFormatOf(file);
  if (format != MsbuildFormat::None) return readMsbuildProjectFile(converter, file, format);
  LineReader reader;
  if (!reader.open(file)) {
    addProblem(run, "<" + baseName(path) + " can't be read>");
    return false;
  }
  std::string line;
  while (!run.stopRequested && reader.readLine(line)) {
    std::string failure = readProjectLine(converter.project, line);
    if (!failure.empty()) {
      platform::showMessage(run.outputWindow, failure, "Error");
      return false;
    }
  }
  if (reader.failed()) {
    addProblem(run, "<" + baseName(path) + " can't be read>");
    return false;
  }
  return true;
}

}  // namespace quillon
