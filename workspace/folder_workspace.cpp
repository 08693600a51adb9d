#include "workspace/folder_workspace.h"

#include <algorithm>
#include <array>
#include <optional>

#include "engine/converter.h"
#include "platform/platform.h"
#include "workspace/incremental.h"
#include "workspace/project_file.h"
#include "workspace/project_model.h"
#include "workspace/workspace.h"

namespace quillon {

namespace {

/// A folder below this depth is not entered: no real tree goes so deep.
constexpr int deepestFolder = 128;

std::string lowered(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool isNamed(const std::string& name, std::initializer_list<const char*> names) {
  const std::string lower = lowered(name);
  return std::any_of(names.begin(), names.end(), [&](const char* n) { return lower == n; });
}

/// What is left out, by kind, in the order the summary names them.
enum Kind { versionControl, buildOutput, packages, workspaces, outputFolder, links, hidden, tooBig, tooDeep, kinds };

constexpr std::array<const char*, kinds> kindText = {
    "version-control folder", "build folder", "package folder", "earlier workspace",
    "output folder", "link to a folder", "hidden file or folder", "file over the size limit",
    "folder more than 128 folders down"};
constexpr std::array<const char*, kinds> kindPlural = {
    "version-control folders", "build folders", "package folders", "earlier workspaces",
    "output folders", "links to folders", "hidden files or folders", "files over the size limit",
    "folders more than 128 folders down"};

/// What a name holding "\" (a file name on POSIX, a separator in a workspace's paths) is
/// called in the workspace: each "\" becomes U+FF3C, the full-width reverse solidus.
std::string workspaceName(const std::string& name) {
  std::string out;
  for (char c : name) out += c == '\\' ? std::string("\xEF\xBC\xBC") : std::string(1, c);
  return out;
}

struct Walk {
  const FolderRules& rules;
  FolderListing listing;
  std::array<std::vector<std::string>, kinds> skipped;

  void skip(Kind kind, const std::string& path) { skipped[kind].push_back(path); }
  /// Lists `directory`, whose path relative to the folder is `prefix`; `renamed`: a name
  /// of that path is not as the system writes it.
  void into(const std::string& directory, const std::string& prefix, int depth, bool renamed);
  bool skipFolder(const platform::DirectoryEntry& entry, const std::string& full,
                  const std::string& path);
};

/// Folders a build leaves: Debug and Release output (object files, databases, logs) and
/// the platform folders that hold them.
bool isBuildOutput(const std::string& name, const std::vector<platform::DirectoryEntry>& entries) {
  for (const platform::DirectoryEntry& e : entries) {
    if (e.isDirectory && isNamed(name, {"x64", "win32", "arm", "arm64"}) &&
        isNamed(e.name, {"debug", "release"}))
      return true;
    if (!e.isDirectory && isNamed(name, {"debug", "release"}))
      for (const char* ending : {".obj", ".pdb", ".ilk", ".tlog", ".idb", ".pch", ".exe", ".dll"})
        if (endsWithIgnoreCase(e.name, ending)) return true;
    if (!e.isDirectory && isNamed(e.name, {"cmakecache.txt"})) return true;
  }
  return false;
}

/// A workspace of this program: its two tree pages.
bool isWorkspace(const std::vector<platform::DirectoryEntry>& entries) {
  int pages = 0;
  for (const platform::DirectoryEntry& e : entries)
    pages += !e.isDirectory && (e.name == "SourceTree.htm" || e.name == "ClassTree.htm");
  return pages == 2;
}

bool Walk::skipFolder(const platform::DirectoryEntry& entry, const std::string& full,
                      const std::string& path) {
  const std::string& name = entry.name;
  Kind kind = kinds;
  if (isNamed(name, {".git", ".svn", ".hg", ".bzr", "cvs", "_darcs"}))
    kind = versionControl;
  else if (isNamed(name, {"bin", "obj", ".vs", "cmakefiles"}))
    kind = buildOutput;
  else if (isNamed(name, {"node_modules"}))
    kind = packages;
  else if (entry.isLink)
    kind = links;
  else if (entry.hidden)
    kind = hidden;
  else if (std::any_of(rules.outputFolders.begin(), rules.outputFolders.end(),
                       [&](const std::string& out) { return platform::sameFile(full, out); }))
    kind = outputFolder;
  if (kind == kinds) return false;
  skip(kind, path);
  return true;
}

/// Folders first, then files, each by name without regard to letter case.
bool treeOrder(const platform::DirectoryEntry& a, const platform::DirectoryEntry& b) {
  if (a.isDirectory != b.isDirectory) return a.isDirectory;
  const std::string la = lowered(a.name), lb = lowered(b.name);
  return la != lb ? la < lb : a.name < b.name;
}

void Walk::into(const std::string& directory, const std::string& prefix, int depth, bool renamed) {
  std::vector<platform::DirectoryEntry> entries;
  if (!platform::readDirectory(directory, &entries)) {
    listing.unreadable.push_back(prefix.empty() ? "." : prefix.substr(0, prefix.size() - 1));
    return;
  }
  if (!prefix.empty() && (isBuildOutput(baseName(directory), entries) || isWorkspace(entries))) {
    skip(isWorkspace(entries) ? workspaces : buildOutput, prefix.substr(0, prefix.size() - 1));
    return;
  }
  std::sort(entries.begin(), entries.end(), treeOrder);
  for (const platform::DirectoryEntry& entry : entries) {
    if (rules.stop && *rules.stop) return;
    const bool odd = entry.name.find('\\') != std::string::npos;
    const std::string path = prefix + (odd ? workspaceName(entry.name) : entry.name);
    const std::string full = platform::joinPath(directory, entry.name);
    if (entry.isDirectory) {
      if (skipFolder(entry, full, path)) continue;
      if (depth < deepestFolder)
        into(full, path + "\\", depth + 1, renamed || odd);
      else
        skip(tooDeep, path);
    } else if (isFolderFile(entry.name)) {
      if (entry.hidden) {
        skip(hidden, path);
      } else if (entry.size > rules.maxFileSize) {
        skip(tooBig, path);
      } else {
        listing.files.push_back(path);
        if (renamed || odd) listing.diskPaths.emplace(path, full);
        if (entry.stamped) listing.stamps.emplace(path, entry.stamp);
      }
    }
  }
}

std::string sizeText(std::uint64_t bytes) {
  if (bytes % (1 << 20) == 0) return std::to_string(bytes >> 20) + " MB";
  if (bytes % (1 << 10) == 0) return std::to_string(bytes >> 10) + " KB";
  return std::to_string(bytes) + " bytes";
}

/// "Left out of src: 1 version-control folder (.git), 2 build folders (bin, obj)".
std::string summary(const std::string& name, const Walk& walk) {
  std::string text;
  for (int kind = 0; kind < kinds; ++kind) {
    const std::vector<std::string>& paths = walk.skipped[kind];
    if (paths.empty()) continue;
    text += text.empty() ? "Left out of " + name + ": " : ", ";
    text += std::to_string(paths.size()) + " " + (paths.size() == 1 ? kindText[kind] : kindPlural[kind]);
    if (kind == tooBig) text += " of " + sizeText(walk.rules.maxFileSize);
    text += " (";
    for (size_t i = 0; i < paths.size() && i < 3; ++i) text += (i ? ", " : "") + paths[i];
    text += paths.size() > 3 ? ", ...)" : ")";
  }
  return text;
}

}  // namespace

std::string cleanFolderPath(const std::string& path) {
  std::string clean = path;
  while (clean.size() > 1 && (clean.back() == '/' || clean.back() == '\\') &&
         !(clean.size() == 3 && clean[1] == ':'))
    clean.pop_back();
  const std::string name = baseName(clean);
  if ((name != "." && name != "..") || directoryOf(clean).empty()) return clean;
  const std::string parent = cleanFolderPath(directoryOf(clean));
  return name == "." || directoryOf(parent).empty() ? parent : directoryOf(parent);
}

bool isFolderFile(const std::string& name) { return isSourceFile(name) || isResourceFile(name); }

FolderListing listFolder(const std::string& folder, const FolderRules& rules) {
  Walk walk{rules, {}, {}};
  walk.into(folder, "", 0, false);
  walk.listing.leftOut = summary(baseName(folder), walk);
  return std::move(walk.listing);
}

void convertFolder(SourceFileConverter& converter, const std::string& path) {
  RunContext& context = converter.context;
  const ConversionSettings& settings = context.settings;
  RunState& run = context.run;
  if (run.stopRequested || !haveWorkspaceData(context)) return;
  const std::string folder = cleanFolderPath(platform::resolvePath(run.currentDirectory, path));
  std::string name = baseName(folder);
  if (name.empty() || name.back() == ':') name = "Folder";  // a drive or the root itself

  ProjectModel& project = converter.project;
  clearProject(project);
  project.displayName = name;
  project.indexName = name + "_Project";
  FolderRules rules;
  rules.maxFileSize = settings.maxFileSize;
  rules.stop = &run.stopRequested;
  rules.outputFolders = {settings.outputDirectory,
                         platform::joinPath(settings.outputDirectory, name + "_HTML")};
  // An incremental run reads the last manifest while the folder is walked.
  std::optional<ManifestReading> reading;
  if (settings.incremental) reading.emplace(rules.outputFolders[1], optionsKey(context));
  FolderListing listing = listFolder(folder, rules);
  for (const std::string& unreadable : listing.unreadable)
    addProblem(run, "<" + (unreadable == "." ? name : name + "\\" + unreadable) + " can't be read>");
  if (!listing.leftOut.empty()) addProgressLine(run, listing.leftOut);
  for (const std::string& file : listing.files) {
    addListedFile(project, file);
    // Every file is where the walk found it: nothing to look for.
    auto renamed = listing.diskPaths.find(file);
    project.diskPaths.emplace(file, renamed != listing.diskPaths.end()
                                        ? renamed->second
                                        : platform::resolvePath(folder, file));
  }
  project.folderFiles = std::move(listing.files);
  project.diskStamps = std::move(listing.stamps);
  ListedWorkspace workspace{name + "_HTML", "SourceTree_Template.htm", folder, true};
  if (reading) workspace.manifest = &*reading;
  convertListedFiles(converter, workspace);
}

}  // namespace quillon
