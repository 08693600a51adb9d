#include "workspace/msbuild_project.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "engine/converter.h"
#include "platform/platform.h"
#include "workspace/item_patterns.h"
#include "workspace/project_file.h"
#include "workspace/xml_tags.h"

namespace quillon {

namespace {

constexpr size_t npos = std::string_view::npos;
/// Removes and wildcard Includes one project may apply.
constexpr size_t mostPatternItems = 100;

bool isItemKind(std::string_view name, MsbuildFormat format) {
  if (format != MsbuildFormat::Vcxproj) return name == "Compile";
  for (std::string_view kind : {"ClCompile", "ClInclude", "ResourceCompile", "None", "Image", "Text"})
    if (name == kind) return true;
  return false;
}

/// Adds the item that a start tag holds: its Include, else its Remove, split at ";".
void takeItem(MsbuildProject& project, std::string_view attributeText) {
  for (const bool remove : {false, true}) {
    for (const auto& [name, value] : attributesOf(attributeText)) {
      if (name != (remove ? "Remove" : "Include")) continue;
      // The value is XML text first ("R&amp;D.cpp") and a list at ";" after that.
      const std::string list = xmlText(value);
      size_t start = 0;
      while (start <= list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos) end = list.size();
        std::string_view entry = trimmedXml(std::string_view(list).substr(start, end - start));
        if (!entry.empty()) project.items.push_back({remove, std::string(entry)});
        start = end + 1;
      }
      return;
    }
  }
}

void scanItems(MsbuildProject& project, std::string_view text, MsbuildFormat format) {
  scanStartTags(
      project.scan, text, [format](std::string_view name) { return isItemKind(name, format); },
      [&project](std::string_view, std::string_view attributes) { takeItem(project, attributes); });
}

/// The text of a one-line property element, such as the Calc of
/// "<RootNamespace>Calc</RootNamespace>"; nothing when the line holds no such element.
std::string propertyText(std::string_view text, std::string_view tag) {
  size_t at = text.find(tag);
  if (at == npos) return {};
  std::string_view rest = text.substr(at + tag.size());
  size_t end = rest.find('<');
  if (end == npos) return {};
  return xmlText(trimmedXml(rest.substr(0, end)));
}

void readProperty(std::string& field, std::string_view text, std::string_view tag) {
  if (!field.empty()) return;
  std::string value = propertyText(text, tag);
  if (value.find("$(") == std::string::npos) field = std::move(value);
}

bool isFalse(const std::string& value) {
  return value.size() == 5 && endsWithIgnoreCase(value, "false");
}

/// Does the Project element of the file carry an Sdk attribute?
bool hasSdkAttribute(const std::string& path) {
  const StartTag tag = firstStartTag(path);
  if (tag.name != "Project") return false;
  for (const auto& attribute : attributesOf(tag.attributes))
    if (attribute.first == "Sdk") return true;
  return false;
}

void removeMatching(std::vector<std::string>& files, const std::string& pattern) {
  std::vector<std::string> kept;
  for (std::string& file : files)
    if (!matchesItemPattern(pattern, file)) kept.push_back(std::move(file));
  files.swap(kept);
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && endsWithIgnoreCase(a, b);
}

/// The names of a path's folders, without empty and "." names.
std::vector<std::string_view> folderNames(std::string_view path) {
  std::vector<std::string_view> names;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !isSeparator(path[end])) ++end;
    const std::string_view name = path.substr(start, end - start);
    if (!name.empty() && name != ".") names.push_back(name);
    start = end + 1;
  }
  return names;
}

/// What a folder macro of an item's path stands for; nothing for any other macro.
std::optional<std::string_view> folderMacro(std::string_view macro,
                                            const std::string& solutionDir) {
  if (sameIgnoringCase(macro, "$(ProjectDir)") ||
      sameIgnoringCase(macro, "$(MSBuildThisFileDirectory)"))
    return ".\\";
  if (sameIgnoringCase(macro, "$(MSBuildProjectDirectory)")) return ".";
  if (sameIgnoringCase(macro, "$(SolutionDir)")) return solutionDir;
  return std::nullopt;
}

std::string withBackslashes(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

/// Writes out the folder macros of the project's items and drops the items that hold any
/// other macro. The dropped macros, each once, in the order first met.
std::vector<std::string> expandItemMacros(MsbuildProject& project, const std::string& solutionDir) {
  std::vector<std::string> unknown;
  std::vector<MsbuildItem> kept;
  for (MsbuildItem& item : project.items) {
    std::string macro;
    if (std::optional<std::string> value = expandFolderMacros(item.value, solutionDir, &macro)) {
      item.value = std::move(*value);
      kept.push_back(std::move(item));
    } else if (std::none_of(unknown.begin(), unknown.end(),
                            [&](const std::string& m) { return sameIgnoringCase(m, macro); })) {
      unknown.push_back(std::move(macro));
    }
  }
  project.items.swap(kept);
  return unknown;
}

}  // namespace

MsbuildFormat msbuildFormatOf(const std::string& path) {
  if (endsWithIgnoreCase(path, ".vcxproj")) return MsbuildFormat::Vcxproj;
  const bool csharp = endsWithIgnoreCase(path, ".csproj");
  if (!csharp && !endsWithIgnoreCase(path, ".vbproj")) return MsbuildFormat::None;
  if (!hasSdkAttribute(path)) return MsbuildFormat::None;
  return csharp ? MsbuildFormat::SdkCsharp : MsbuildFormat::SdkVb;
}

void readMsbuildLine(MsbuildProject& project, std::string_view line, MsbuildFormat format) {
  const std::string text = continuedText(project.scan, line);
  scanItems(project, text, format);
  readProperty(project.projectName, text, "<ProjectName>");
  readProperty(project.rootNamespace, text, "<RootNamespace>");
  readProperty(project.assemblyName, text, "<AssemblyName>");
  if (format != MsbuildFormat::Vcxproj &&
      (isFalse(propertyText(text, "<EnableDefaultCompileItems>")) ||
       isFalse(propertyText(text, "<EnableDefaultItems>"))))
    project.defaultCompileItems = false;
}

std::string msbuildProjectName(const MsbuildProject& project, const std::string& path) {
  for (const std::string* name :
       {&project.projectName, &project.rootNamespace, &project.assemblyName})
    if (!name->empty()) return *name;
  return projectNameFromFile(path);
}

std::vector<std::string> msbuildListedFiles(const MsbuildProject& project, MsbuildFormat format,
                                            const std::string& projectDirectory,
                                            bool* cutShort) {
  const bool sdk = format != MsbuildFormat::Vcxproj;
  WalkBudget budget;
  bool cut = false;
  std::vector<std::string> files;
  if (sdk && project.defaultCompileItems) {
    const std::string ending = format == MsbuildFormat::SdkVb ? ".vb" : ".cs";
    FolderWalk walk = walkFolder(projectDirectory, 1 << 20, budget);
    cut = walk.cutShort;
    for (std::string& file : walk.files)
      if (endsWithIgnoreCase(file, ending)) files.push_back(std::move(file));
  }
  // A .vcxproj lists what it says, twice if it says so; an SDK-style project lists each
  // file once, as the build does.
  std::set<std::string> listed;
  auto relist = [&] {
    listed.clear();
    if (sdk)
      for (const std::string& file : files) listed.insert(itemKey(file));
  };
  relist();
  // Each Remove and each wildcard Include goes over many files; real projects have a few.
  size_t patternsLeft = mostPatternItems;
  for (const MsbuildItem& item : project.items) {
    const bool pattern = item.remove || hasWildcard(item.value);
    if (pattern && patternsLeft == 0) {
      cut = true;
      continue;
    }
    if (pattern) --patternsLeft;
    if (item.remove) {
      removeMatching(files, item.value);
      relist();
      continue;
    }
    std::vector<std::string> added =
        pattern ? expandItemPattern(projectDirectory, item.value, budget, &cut)
                : std::vector<std::string>{item.value};
    for (std::string& file : added) {
      if (sdk && !listed.insert(itemKey(file)).second) continue;
      files.push_back(sdk ? withBackslashes(std::move(file)) : std::move(file));
    }
  }
  if (cutShort) *cutShort = cut;
  return files;
}

std::string solutionDirFor(const std::string& projectDirectory,
                           const std::string& solutionDirectory) {
  if (solutionDirectory.empty()) return ".\\";
  const std::vector<std::string_view> project = folderNames(projectDirectory);
  const std::vector<std::string_view> solution = folderNames(solutionDirectory);
  auto rooted = [](const std::string& path) { return !path.empty() && isSeparator(path[0]); };
  bool above = rooted(projectDirectory) == rooted(solutionDirectory) &&
               solution.size() <= project.size() &&
               std::equal(solution.begin(), solution.end(), project.begin());
  for (size_t i = solution.size(); above && i < project.size(); ++i) above = project[i] != "..";
  if (!above) {
    return isSeparator(solutionDirectory.back()) ? solutionDirectory : solutionDirectory + "\\";
  }
  if (project.size() == solution.size()) return ".\\";
  std::string way;
  for (size_t i = solution.size(); i < project.size(); ++i) way += "..\\";
  return way;
}

std::optional<std::string> expandFolderMacros(std::string_view value,
                                              const std::string& solutionDir,
                                              std::string* unknown) {
  std::string out;
  size_t i = 0;
  while (i < value.size()) {
    const size_t open = value.find("$(", i);
    const size_t close = open == npos ? npos : value.find(')', open + 2);
    if (close == npos) {
      out.append(value.substr(i));
      break;
    }
    out.append(value.substr(i, open - i));
    const std::string_view macro = value.substr(open, close + 1 - open);
    const std::optional<std::string_view> folder = folderMacro(macro, solutionDir);
    if (!folder) {
      if (unknown) *unknown = std::string(macro);
      return std::nullopt;
    }
    out += *folder;
    i = close + 1;
    // "$(ProjectDir)\calc.cpp": the folder's own backslash is enough.
    if (!out.empty() && out.back() == '\\' && i < value.size() && isSeparator(value[i])) ++i;
  }
  return out;
}

bool readMsbuildProjectFile(SourceFileConverter& converter, const std::string& path,
                            MsbuildFormat format, const std::string& solutionDirectory) {
  RunState& run = converter.context.run;
  MsbuildProject project;
  if (!readProjectLines(run, path, [&](std::string_view line) {
        readMsbuildLine(project, line, format);
        return true;
      }))
    return false;
  ProjectModel& model = converter.project;
  setProjectName(model, msbuildProjectName(project, path));
  if (run.stopRequested) return true;  // the run goes on with nothing to convert
  const std::string projectDirectory = directoryOf(path);
  if (format == MsbuildFormat::Vcxproj) {
    for (const std::string& macro :
         expandItemMacros(project, solutionDirFor(projectDirectory, solutionDirectory)))
      addProblem(run, "<" + baseName(path) + ": " + macro + " in a listed path is not known>");
  }
  bool cutShort = false;
  for (const std::string& file : msbuildListedFiles(project, format, projectDirectory, &cutShort))
    addListedFile(model, file);
  if (cutShort) addProblem(run, "<" + baseName(path) + ": only part of its files could be listed>");
  return true;
}

}  // namespace quillon
