#include "workspace/page_names.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/file_kinds.h"
#include "workspace/assets.h"
#include "workspace/project_model.h"
#include "workspace/tree_lines.h"

namespace quillon {

namespace {

/// The pages that every workspace writes itself (its script ends in ".js", as no page does).
constexpr const char* ownPages[] = {"SourceTree.htm", "ClassTree.htm", "Tabs.htm", "FileTab.htm",
                                    "Blank.htm"};

std::string lowered(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

/// One file of the lists, however often and however spelt it is listed.
struct File {
  std::string name;                  ///< its own name
  std::vector<std::string> folders;  ///< the folders of its path, outermost first
  bool image = false;
  ListedName named;
  bool plain = false;  ///< a name with no ending of its own to keep (a workspace's)
};

/// The folders of a path, without ".", ".." and empty names.
std::vector<std::string> foldersOf(const std::string& path) {
  std::vector<std::string> folders;
  size_t start = 0;
  for (size_t end; (end = path.find_first_of("/\\", start)) != std::string::npos; start = end + 1) {
    std::string folder = path.substr(start, end - start);
    if (!folder.empty() && folder != "." && folder != "..") folders.push_back(std::move(folder));
  }
  return folders;
}

/// The last `count` folders of `file` joined by `separator`, each made fit for a file
/// name when `forFileName` is set.
std::string lastFolders(const File& file, size_t count, const char* separator, bool forFileName) {
  std::string joined;
  const size_t first = file.folders.size() - std::min(count, file.folders.size());
  for (size_t i = first; i < file.folders.size(); ++i) {
    std::string folder = file.folders[i];
    if (forFileName)
      for (char& c : folder)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view(":*?\"<>|").find(c) != std::string_view::npos)
          c = '_';
    joined += folder;
    joined += separator;
  }
  return joined;
}

/// How many of their last folders tell the files of one name apart: the fewest that
/// do, else all they have.
size_t foldersThatTellApart(const std::vector<File*>& group) {
  size_t most = 0;
  for (const File* file : group) most = std::max(most, file->folders.size());
  for (size_t count = 1; count < most; ++count) {
    std::unordered_set<std::string> seen;
    bool apart = true;
    for (const File* file : group)
      apart = apart && seen.insert(lowered(lastFolders(*file, count, "\\", false))).second;
    if (apart) return count;
  }
  return most;
}

/// `stem` followed by `ending`, or when that is taken, by "~2", "~3"... before `ending`.
std::string freeName(std::unordered_set<std::string>& taken, const std::string& stem,
                     const std::string& ending) {
  std::string name = stem + ending;
  for (int n = 2; !taken.insert(lowered(name)).second; ++n)
    name = stem + "~" + std::to_string(n) + ending;
  return name;
}

/// A name that does not begin with "." (which would hide the file): leading dots become "_".
std::string unhidden(std::string name) {
  for (char& c : name) {
    if (c != '.') break;
    c = '_';
  }
  return name;
}

/// A page ends in ".htm" after the whole name; an image keeps its own ending last.
void splitForSuffix(const File& file, std::string* stem, std::string* ending) {
  const size_t dot = file.image ? file.name.rfind('.') : std::string::npos;
  *stem = dot == std::string::npos || dot == 0 ? file.name : file.name.substr(0, dot);
  *ending = file.image || file.plain ? file.name.substr(stem->size()) : ".htm";
  *stem = unhidden(*stem);
}

void nameGroup(const std::vector<File*>& group, std::unordered_set<std::string>& taken) {
  const size_t count = group.size() > 1 ? foldersThatTellApart(group) : 0;
  for (File* file : group) {
    if (group.size() > 1) file->named.shown = lastFolders(*file, count, "\\", false) + file->name;
    if (!file->named.page.empty()) continue;
    std::string stem, ending;
    splitForSuffix(*file, &stem, &ending);
    // A file that must give way carries its folders, at least its nearest one.
    const std::string folders = lastFolders(*file, std::max<size_t>(count, 1), "~", true);
    file->named.page = freeName(taken, folders + stem, ending);
  }
}

}  // namespace

namespace {

/// Names `files` (in order) apart from each other and from the names in the two taken sets.
void nameAll(std::vector<File>& files, std::unordered_set<std::string> takenPages,
             std::unordered_set<std::string> takenImages) {
  // Pages and images live in different folders, so they are named apart.
  std::vector<std::vector<File*>> groups;
  std::unordered_map<std::string, size_t> groupOf;
  for (File& file : files) {
    file.named.shown = file.name;
    auto [at, added] = groupOf.emplace((file.image ? "i:" : "p:") + lowered(unhidden(file.name)), groups.size());
    if (added) groups.emplace_back();
    groups[at->second].push_back(&file);
  }
  // The first file of each name keeps it; where the name is taken (by a page of the
  // workspace's own), it gets "~2" or the next number that is free.
  for (std::vector<File*>& group : groups) {
    File& first = *group.front();
    std::string stem, ending;
    splitForSuffix(first, &stem, &ending);
    first.named.page = freeName(first.image ? takenImages : takenPages, stem, ending);
  }
  for (std::vector<File*>& group : groups)
    nameGroup(group, group.front()->image ? takenImages : takenPages);
}

}  // namespace

namespace {

/// Names the listed files of `project` when no two of their names are alike (letter case
/// ignored) and none is a name the workspace takes itself, the usual lists: each is then
/// named after its file alone, as `nameAll` would name it. False otherwise (the names
/// then are not complete).
bool nameApart(ProjectModel& project, std::unordered_set<std::string> takenPages,
               std::unordered_set<std::string> takenImages) {
  const size_t listed =
      project.sourceFiles.size() + project.headerFiles.size() + project.resourceFiles.size();
  std::unordered_set<std::string> seen;
  seen.reserve(listed);
  takenPages.reserve(listed + takenPages.size());
  project.listedNames.reserve(listed);
  for (const std::vector<std::string>* list :
       {&project.sourceFiles, &project.headerFiles, &project.resourceFiles}) {
    for (const std::string& entry : *list) {
      // A path that ends in a name of a file ends its key in that name: files apart by
      // name are apart by path, and no one is listed twice.
      File file{baseName(entry), {}, isImageResource(entry), {}};
      if (file.name.empty() || file.name == "." || file.name == ".." ||
          !seen.insert(lowered(unhidden(file.name))).second)
        return false;
      std::string stem, ending;
      splitForSuffix(file, &stem, &ending);
      std::string page = stem + ending;
      if (!(file.image ? takenImages : takenPages).insert(lowered(page)).second) return false;
      project.listedNames.emplace(entry, ListedName{std::move(page), std::move(file.name)});
    }
  }
  return true;
}

}  // namespace

void nameListedFiles(ProjectModel& project) {
  std::unordered_set<std::string> takenPages, takenImages;
  for (const char* page : ownPages) takenPages.insert(lowered(page));
  for (const char* image : workspaceImageNames) takenImages.insert(lowered(image));
  project.listedNames.clear();
  if (nameApart(project, takenPages, takenImages)) return;
  project.listedNames.clear();
  // Paths read from a disk are files of their own even when they differ only in case.
  const bool fromDisk = !project.folderFiles.empty();
  std::vector<File> files;
  std::unordered_map<std::string, size_t> byKey;
  std::vector<std::pair<const std::string*, size_t>> entries;
  const size_t listed =
      project.sourceFiles.size() + project.headerFiles.size() + project.resourceFiles.size();
  files.reserve(listed);
  byKey.reserve(listed);
  entries.reserve(listed);
  for (const std::vector<std::string>* list :
       {&project.sourceFiles, &project.headerFiles, &project.resourceFiles}) {
    for (const std::string& entry : *list) {
      auto [at, added] = byKey.emplace(pathKey(entry, fromDisk), files.size());
      if (added) files.push_back({baseName(entry), foldersOf(entry), isImageResource(entry), {}});
      entries.emplace_back(&entry, at->second);
    }
  }
  nameAll(files, std::move(takenPages), std::move(takenImages));
  for (const auto& [entry, file] : entries) project.listedNames[*entry] = files[file].named;
}

namespace {

/// The page names of `paths` when no two of their names are alike (letter case ignored),
/// the usual list: each page is then named after its file alone, as `nameAll` would name
/// it, without the keys, folders and groups that only files of one name need. False
/// otherwise (`pages` then holds a part of the names).
bool namesStandApart(const std::vector<std::string>& paths, std::vector<std::string>* pages) {
  std::unordered_set<std::string> seen;
  seen.reserve(paths.size());
  for (const std::string& path : paths) {
    // A path that ends in a name of a file ends its key in that name: files apart by
    // name are apart by path, and no one is listed twice.
    std::string name = baseName(path);
    if (name.empty() || name == "." || name == "..") return false;
    name = unhidden(std::move(name));
    if (!seen.insert(lowered(name)).second) return false;
    pages->push_back(std::move(name) + ".htm");
  }
  return true;
}

}  // namespace

std::vector<std::string> separatePageNames(const std::vector<std::string>& paths) {
  if (std::vector<std::string> pages; namesStandApart(paths, &pages)) return pages;
  std::vector<File> files;
  std::unordered_map<std::string, size_t> byKey;
  std::vector<size_t> fileOf;
  for (const std::string& path : paths) {
    auto [at, added] = byKey.emplace(pathKey(path), files.size());
    if (added) files.push_back({baseName(path), foldersOf(path), false, {}});
    fileOf.push_back(at->second);
  }
  nameAll(files, {}, {});
  std::vector<std::string> pages;
  for (size_t file : fileOf) pages.push_back(files[file].named.page);
  return pages;
}

std::vector<std::string> distinctNames(const std::vector<std::string>& names,
                                       const std::vector<std::string>& paths) {
  std::vector<File> files;
  for (size_t i = 0; i < names.size(); ++i) {
    files.push_back({names[i], foldersOf(i < paths.size() ? paths[i] : std::string()), false, {}});
    files.back().plain = true;
  }
  nameAll(files, {}, {});
  std::vector<std::string> distinct;
  for (const File& file : files) distinct.push_back(file.named.page);
  return distinct;
}

ListedName listedNameOf(const ProjectModel& project, const std::string& entry) {
  auto found = project.listedNames.find(entry);
  if (found != project.listedNames.end()) return found->second;
  const std::string name = baseName(entry);
  return {isImageResource(entry) ? name : name + ".htm", name};
}

}  // namespace quillon
