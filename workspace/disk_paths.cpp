#include "workspace/disk_paths.h"

#include "engine/file_kinds.h"
#include "engine/settings.h"
#include "platform/platform.h"
#include "workspace/project_model.h"
#include "workspace/tree_lines.h"

namespace quillon {

namespace {

char lowerLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameLetters(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lowerLetter(a[i]) != lowerLetter(b[i])) return false;
  return true;
}

const DiskLookup::Listing& listingOf(DiskLookup& lookup, const std::string& folder) {
  auto [at, added] = lookup.listings.try_emplace(folder);
  if (added)
    at->second.readable = platform::listDirectory(folder.empty() ? "." : folder, &at->second.files,
                                                  &at->second.folders);
  return at->second;
}

/// The first of `names` (sorted bytewise) that is `name` letter case aside; empty when
/// none is. Several such names are told once for the folder.
std::string matchingName(DiskLookup& lookup, const std::string& folder,
                         const std::vector<std::string>& names, const std::string& name,
                         const std::string& listed) {
  std::vector<const std::string*> matches;
  for (const std::string& candidate : names)
    if (sameLetters(candidate, name)) matches.push_back(&candidate);
  if (matches.empty()) return {};
  std::string key = folder + '/';
  for (char c : name) key += lowerLetter(c);
  if (matches.size() > 1 && lookup.told.insert(key).second) {
    std::string spellings;
    for (const std::string* match : matches) spellings += (spellings.empty() ? "" : ", ") + *match;
    lookup.notes.push_back("<" + listed + ": of " + spellings +
                           ", which differ only in letter case, " + *matches.front() +
                           " is taken>");
  }
  return *matches.front();
}

}  // namespace

std::string findListedFile(DiskLookup& lookup, const std::string& directory,
                           const std::string& listed) {
  const std::string exact = platform::resolvePath(directory, listed);
  if (platform::fileExists(exact)) return exact;
  // A relative path is looked up from `directory`, which exists as written.
  const std::string native = platform::resolvePath("", listed);
  const bool absolute = platform::isAbsolutePath(native);
  const size_t start = native.find_first_not_of("/\\");
  if (start == std::string::npos) return {};
  std::string at = absolute ? native.substr(0, start) : directory;
  for (size_t from = start; from < native.size();) {
    size_t end = native.find_first_of("/\\", from);
    if (end == std::string::npos) end = native.size();
    const std::string name = native.substr(from, end - from);
    const bool last = end == native.size();
    from = end + 1;
    if (name.empty() || name == ".") continue;
    std::string next = at.empty() ? name : platform::joinPath(at, name);
    if (name != ".." && !(last ? platform::fileExists(next) : platform::directoryExists(next))) {
      const DiskLookup::Listing& listing = listingOf(lookup, at);
      const std::string found =
          matchingName(lookup, at, last ? listing.files : listing.folders, name, listed);
      if (found.empty()) return {};
      next = at.empty() ? found : platform::joinPath(at, found);
    }
    at = std::move(next);
    if (last) return at;
  }
  return {};
}

void findListedFiles(RunState& run, ProjectModel& project, const std::string& directory) {
  DiskLookup lookup;
  for (const std::vector<std::string>* list :
       {&project.sourceFiles, &project.headerFiles, &project.resourceFiles}) {
    for (const std::string& entry : *list) {
      if (project.diskPaths.count(entry)) continue;
      std::string found = findListedFile(lookup, directory, entry);
      // An image is also looked for by its name alone, beside the project.
      if (found.empty() && isImageResource(entry))
        found = findListedFile(lookup, directory, baseName(entry));
      else if (found.empty())
        found = platform::resolvePath(directory, entry);
      project.diskPaths.emplace(entry, std::move(found));
    }
  }
  for (const std::string& note : lookup.notes) platform::addWarningLine(run.outputWindow, "note: " + note);
}

std::string diskPathOf(const ProjectModel& project, const std::string& directory,
                       const std::string& entry) {
  auto found = project.diskPaths.find(entry);
  return found != project.diskPaths.end() ? found->second : platform::resolvePath(directory, entry);
}

}  // namespace quillon
