#include "workspace/msbuild_project.h"

#include <set>
#include <utility>

#include "engine/converter.h"
#include "platform/platform.h"
#include "workspace/item_patterns.h"
#include "workspace/project_file.h"

namespace quillon {

namespace {

constexpr size_t npos = std::string_view::npos;
/// An item's start tag may go on over a few lines; a longer one is no tag we can use.
constexpr size_t longestOpenTag = 1 << 16;
/// Removes and wildcard Includes one project may apply.
constexpr size_t mostPatternItems = 100;

using Attribute = std::pair<std::string_view, std::string_view>;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool isNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         c == '_' || c == '-' || c == '.' || c == ':';
}

/// The text of an attribute value or element with the five XML entities decoded.
std::string xmlText(std::string_view text) {
  static constexpr std::pair<std::string_view, char> entities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    bool decoded = false;
    for (const auto& [entity, c] : entities) {
      if (text.substr(i, entity.size()) == entity) {
        out += c;
        i += entity.size() - 1;
        decoded = true;
        break;
      }
    }
    if (!decoded) out += text[i];
  }
  return out;
}

/// The line without its XML comments; `inComment` carries an open comment to the next line.
std::string withoutComments(std::string_view line, bool& inComment) {
  std::string out;
  size_t i = 0;
  while (i < line.size()) {
    if (inComment) {
      size_t end = line.find("-->", i);
      if (end == npos) break;
      inComment = false;
      i = end + 3;
    } else {
      size_t start = line.find("<!--", i);
      out.append(line.substr(i, start == npos ? npos : start - i));
      if (start == npos) break;
      out += ' ';
      inComment = true;
      i = start + 4;
    }
  }
  return out;
}

/// Where the tag that opens at `open` ends: its ">" outside quoted values.
size_t tagEnd(std::string_view text, size_t open) {
  char quote = 0;
  for (size_t i = open; i < text.size(); ++i) {
    if (quote) {
      if (text[i] == quote) quote = 0;
    } else if (text[i] == '"' || text[i] == '\'') {
      quote = text[i];
    } else if (text[i] == '>') {
      return i;
    }
  }
  return npos;
}

/// The attributes of a start tag, from the text after its name up to its ">". Reading
/// stops at the first thing that is not name="value" or name='value'.
std::vector<Attribute> attributesOf(std::string_view tag) {
  std::vector<Attribute> attributes;
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < tag.size() && isBlank(tag[i])) ++i;
  };
  for (;;) {
    skipBlanks();
    const size_t nameStart = i;
    while (i < tag.size() && isNameChar(tag[i])) ++i;
    const std::string_view name = tag.substr(nameStart, i - nameStart);
    skipBlanks();
    if (name.empty() || i >= tag.size() || tag[i] != '=') break;
    ++i;
    skipBlanks();
    if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) break;
    const size_t end = tag.find(tag[i], i + 1);
    if (end == npos) break;
    attributes.emplace_back(name, tag.substr(i + 1, end - i - 1));
    i = end + 1;
  }
  return attributes;
}

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
        std::string_view entry = trimmed(std::string_view(list).substr(start, end - start));
        if (!entry.empty()) project.items.push_back({remove, std::string(entry)});
        start = end + 1;
      }
      return;
    }
  }
}

void scanItems(MsbuildProject& project, std::string_view text, MsbuildFormat format) {
  size_t open = 0;
  while ((open = text.find('<', open)) != npos) {
    size_t nameEnd = open + 1;
    while (nameEnd < text.size() && isNameChar(text[nameEnd])) ++nameEnd;
    if (!isItemKind(text.substr(open + 1, nameEnd - open - 1), format)) {
      open = nameEnd;
      continue;
    }
    const size_t close = tagEnd(text, nameEnd);
    if (close == npos) {
      if (text.size() - open < longestOpenTag) project.openTag = std::string(text.substr(open));
      return;
    }
    takeItem(project, text.substr(nameEnd, close - nameEnd));
    open = close + 1;
  }
}

/// The text of a one-line property element, such as the Calc of
/// "<RootNamespace>Calc</RootNamespace>"; nothing when the line holds no such element.
std::string propertyText(std::string_view text, std::string_view tag) {
  size_t at = text.find(tag);
  if (at == npos) return {};
  std::string_view rest = text.substr(at + tag.size());
  size_t end = rest.find('<');
  if (end == npos) return {};
  return xmlText(trimmed(rest.substr(0, end)));
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
  LineReader reader;
  if (!reader.open(path)) return false;
  bool inComment = false;
  bool found = false;
  std::string tag, line;
  while (reader.readLine(line)) {
    const std::string text = withoutComments(line, inComment);
    if (!found) {
      size_t at = text.find("<Project");
      while (at != npos && at + 8 < text.size() && isNameChar(text[at + 8]))
        at = text.find("<Project", at + 8);
      if (at == npos) continue;
      found = true;
      tag = text.substr(at + 8);
    } else {
      tag += ' ' + text;
    }
    const size_t end = tagEnd(tag, 0);
    if (end == npos && tag.size() < longestOpenTag) continue;
    for (const auto& attribute : attributesOf(std::string_view(tag).substr(0, end)))
      if (attribute.first == "Sdk") return true;
    return false;
  }
  return false;
}

void removeMatching(std::vector<std::string>& files, const std::string& pattern) {
  std::vector<std::string> kept;
  for (std::string& file : files)
    if (!matchesItemPattern(pattern, file)) kept.push_back(std::move(file));
  files.swap(kept);
}

std::string withBackslashes(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
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
  std::string text = withoutComments(line, project.inComment);
  if (!project.openTag.empty()) {
    text = project.openTag + ' ' + text;
    project.openTag.clear();
  }
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
  std::string name = baseName(path);
  return name.substr(0, name.rfind('.'));
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

bool readMsbuildProjectFile(SourceFileConverter& converter, const std::string& path,
                            MsbuildFormat format) {
  RunState& run = converter.context.run;
  LineReader reader;
  if (!reader.open(path)) {
    addProblem(run, "<" + baseName(path) + " can't be read>");
    return false;
  }
  MsbuildProject project;
  std::string line;
  while (!run.stopRequested && reader.readLine(line)) readMsbuildLine(project, line, format);
  if (reader.failed()) {
    addProblem(run, "<" + baseName(path) + " can't be read>");
    return false;
  }
  ProjectModel& model = converter.project;
  model.displayName = msbuildProjectName(project, path);
  model.indexName = model.displayName + "_Project";
  if (run.stopRequested) return true;  // the run goes on with nothing to convert
  bool cutShort = false;
  for (const std::string& file : msbuildListedFiles(project, format, directoryOf(path), &cutShort))
    addListedFile(model, file);
  if (cutShort) addProblem(run, "<" + baseName(path) + ": only part of its files could be listed>");
  return true;
}

}  // namespace quillon
