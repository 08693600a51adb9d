#include "workspace/project_file.h"

#include "engine/converter.h"
#include "platform/platform.h"
#include "workspace/msbuild_project.h"
#include "workspace/vsnet_project.h"
#include "workspace/xml_tags.h"

namespace quillon {

namespace {

constexpr size_t npos = std::string_view::npos;

bool has(std::string_view line, std::string_view key) { return line.find(key) != npos; }

/// What follows a key: nothing, a bare text, a quoted value without its closing quote, or
/// a quoted value, which ends at its own closing quote (whatever stands after it).
struct CutValue {
  enum Shape { Missing, Bare, Unclosed, Quoted } shape = Missing;
  std::string_view text;  ///< the bare text (blanks trimmed) or the quoted value
};

/// The value that starts at `at` of `line` (blanks skipped), quoted by one of `quotes`.
CutValue valueAt(std::string_view line, size_t at, std::string_view quotes) {
  while (at < line.size() && isXmlBlank(line[at])) ++at;
  if (at >= line.size()) return {};
  if (quotes.find(line[at]) == npos) {
    std::string_view bare = line.substr(at);
    while (!bare.empty() && isXmlBlank(bare.back())) bare.remove_suffix(1);
    return {CutValue::Bare, bare};
  }
  const size_t close = line.find(line[at], at + 1);
  if (close == npos) return {CutValue::Unclosed, line.substr(at + 1)};
  return {CutValue::Quoted, line.substr(at + 1, close - at - 1)};
}

/// Where the value of the attribute `key` starts: just after the "=" that follows the
/// first occurrence of `key` with such a sign (blanks allowed between). npos without one.
size_t attributeStart(std::string_view line, std::string_view key) {
  for (size_t at = line.find(key); at != npos; at = line.find(key, at + 1)) {
    size_t sign = at + key.size();
    while (sign < line.size() && isXmlBlank(line[sign])) ++sign;
    if (sign < line.size() && line[sign] == '=') return sign + 1;
  }
  return npos;
}

/// Does `key` open the line, blanks aside?
bool opensLine(std::string_view line, std::string_view key) {
  const size_t first = line.find_first_not_of(" \t");
  return first != npos && line.substr(first, key.size()) == key;
}

/// A "Name=" line: the attribute's quoted value names the project. A line whose name is
/// not quoted names nothing.
void nameLine(ProjectModel& project, std::string_view line) {
  const CutValue name = valueAt(line, line.find("Name=") + 5, "\"'");
  if (name.shape == CutValue::Quoted) setProjectName(project, std::string(name.text));
}

/// A "RelativePath" attribute of a .vcproj: its quoted value is the path. A value that is
/// not quoted, or whose quote does not close on the line, cannot be cut.
std::string relativePathLine(ProjectModel& project, std::string_view line) {
  const size_t start = attributeStart(line, "RelativePath");
  if (start == npos) return {};  // the word, but no attribute
  const CutValue path = valueAt(line, start, "\"'");
  if (path.shape != CutValue::Quoted) return std::string(projectParseFailure);
  addListedFile(project, xmlText(path.text));
  return {};
}

/// A "SOURCE=" line of a .dsp: the path that follows the key, quoted when it holds a
/// blank. A bare path is the rest of the line, and stands only on a line that the key
/// opens. A path made of a macro ("$(InputPath)" of a custom build step) names the file
/// the step belongs to, which is listed by its own line.
std::string dspSourceLine(ProjectModel& project, std::string_view line) {
  constexpr std::string_view key = "SOURCE=";
  const CutValue path = valueAt(line, line.find(key) + key.size(), "\"");
  const bool quoted = path.shape == CutValue::Quoted;
  if (path.shape == CutValue::Unclosed || (!quoted && !opensLine(line, key)))
    return std::string(projectParseFailure);
  if (!has(path.text, "$(")) addListedFile(project, path.text);
  return {};
}

/// "<RootNamespace>Name</RootNamespace>": the text between the first ">" and the last
/// "<" names the project, replacing any earlier name. A tag split over lines is ignored.
void rootNamespaceLine(ProjectModel& project, std::string_view line) {
  size_t open = line.find('>');
  size_t close = line.rfind('<');
  if (open == npos || close == npos || close <= open) return;
  setProjectName(project, std::string(line.substr(open + 1, close - open - 1)));
}

/// A "Compile Include=" item: its quoted value is the path, whatever attributes follow
/// it (Link="X.cs"). A value whose quote does not close on the line cannot be cut; a bare
/// one is ignored.
std::string compileItemLine(ProjectModel& project, std::string_view line) {
  constexpr std::string_view key = "Compile Include=";
  const CutValue path = valueAt(line, line.find(key) + key.size(), "\"'");
  if (path.shape == CutValue::Unclosed) return std::string(projectFileParseFailure);
  if (path.shape == CutValue::Quoted) addListedFile(project, xmlText(path.text));
  return {};
}

}  // namespace

void addListedFile(ProjectModel& project, std::string_view path) {
  while (path.substr(0, 2) == ".\\" || path.substr(0, 2) == "./") path.remove_prefix(2);
  if (path.empty()) return;
  std::string file(path);
  if (endsWithIgnoreCase(file, ".h") || endsWithIgnoreCase(file, ".hpp")) {
    project.headerFiles.push_back(std::move(file));
  } else if (isResourceFile(file)) {
    project.resourceFiles.push_back(std::move(file));
  } else {
    project.sourceFiles.push_back(std::move(file));
  }
}

void clearProject(ProjectModel& project) { project = ProjectModel(); }

void setProjectName(ProjectModel& project, std::string name) {
  project.indexName = name + "_Project";
  project.displayName = std::move(name);
}

std::string projectNameFromFile(const std::string& path) {
  std::string name = baseName(path);
  name = name.substr(0, name.rfind('.'));
  return name.empty() ? "Project" : name;
}

// Folder lines ("Source Files", "Header Files", "Resource Files") need no rule of their
// own: they hold none of the keys below and fall through. Testing them before the path
// keys would drop a file whose path runs through a folder of that name.
std::string readProjectLine(ProjectModel& project, std::string_view line) {
  if (has(line, "Name=") && project.displayName.empty()) {
    nameLine(project, line);
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

bool readProjectLines(RunState& run, const std::string& path,
                      const std::function<bool(std::string_view)>& take) {
  LineReader reader;
  bool readable = reader.open(path);
  std::string line;
  while (readable && !run.stopRequested && reader.readLine(line))
    if (!take(line)) break;
  readable = readable && !reader.failed();
  if (!readable) addProblem(run, "<" + baseName(path) + " can't be read>");
  return readable;
}

std::string projectFileFault(const std::string& path) {
  LineReader reader;
  if (!reader.open(path)) return {};  // reading it will say so
  if (!reader.startsAsText()) return "is not a text file";
  std::string line;
  while (reader.readLine(line))
    if (line.find_first_not_of(" \t\r\f\v\xEF\xBB\xBF") != std::string::npos) return {};
  return reader.failed() ? std::string() : "is empty";
}

std::string projectOwnName(const std::string& path) {
  LineReader reader;
  if (!reader.open(path)) return {};
  std::string line;
  const MsbuildFormat format = msbuildFormatOf(path);
  if (format != MsbuildFormat::None) {
    MsbuildProject project;
    while (reader.readLine(line)) readMsbuildLine(project, line, format);
    return msbuildProjectName(project, path);
  }
  if (isVsNetProjectFile(path)) {
    VsNetProject project;
    while (reader.readLine(line)) readVsNetLine(project, line);
    return vsNetProjectName(project, path);
  }
  ProjectModel project;
  while (reader.readLine(line) && readProjectLine(project, line).empty()) {
  }
  return project.displayName.empty() ? projectNameFromFile(path) : project.displayName;
}

bool readProjectFile(SourceFileConverter& converter, const std::string& path,
                     const ProjectOrigin& origin) {
  RunState& run = converter.context.run;
  ProjectModel& project = converter.project;
  clearProject(project);
  const std::string file = platform::resolvePath(run.currentDirectory, path);
  const std::string fault = projectFileFault(file);
  if (!fault.empty()) {
    addProblem(run, "<" + baseName(path) + " " + fault + ">");
    return false;
  }
  const MsbuildFormat format = msbuildFormatOf(file);
  if (format != MsbuildFormat::None)
    return readMsbuildProjectFile(converter, file, format, origin.solutionDirectory);
  if (isVsNetProjectFile(file)) return readVsNetProjectFile(converter, file);
  std::string failure;
  const bool readable = readProjectLines(run, file, [&](std::string_view line) {
    failure = readProjectLine(project, line);
    return failure.empty();
  });
  if (!readable) return false;
  if (!failure.empty()) {
    platform::showMessage(run.outputWindow, failure, "Error");
    return false;
  }
  // A file that names no project still gives its workspace a name (and the index page
  // one that is not hidden).
  if (project.displayName.empty()) setProjectName(project, projectNameFromFile(file));
  return true;
}

}  // namespace quillon
