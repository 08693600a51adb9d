#pragma once
// Where a listed file is read. Projects are written on Windows, whose file names ignore
// letter case, so a project may list "..\src\VIEWER_Exports.cpp" for the file
// Viewer_Exports.cpp. A path that exists as written is read as written (one test, and
// all on Windows); else each of its names is looked up in its folder letter case aside.
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quillon {

struct ProjectModel;
struct RunState;

/// The folders that finding paths has listed, so that each is read once, and the choices
/// that have been told.
struct DiskLookup {
  struct Listing {
    bool readable = false;
    std::vector<std::string> files, folders;  ///< sorted bytewise
  };
  std::unordered_map<std::string, Listing> listings;
  std::unordered_set<std::string> told;
  /// Choices to tell, in the order they were made: several names of one folder that
  /// differ only in letter case, of which the first (bytewise) was taken.
  std::vector<std::string> notes;
};

/// The file that `listed` (relative to `directory`, or full; "\" or "/" between names)
/// names: as written when it exists; else found name by name, ignoring ASCII letter case,
/// each name as written winning over one spelt otherwise and of several spelt otherwise
/// the first in bytewise order (told once in `lookup.notes`). Empty when nothing matches.
std::string findListedFile(DiskLookup& lookup, const std::string& directory,
                           const std::string& listed);

/// Fills `project.diskPaths` for every listed path that has no entry yet: where it is
/// found, or else the path as written; an image found nowhere, not even by its own name
/// in `directory`, gets an empty path. Tells each choice among names that differ only in
/// letter case once, as a note of the run.
void findListedFiles(RunState& run, ProjectModel& project, const std::string& directory);

/// Where the listed path `entry` is read: its disk path, else `entry` relative to
/// `directory`.
std::string diskPathOf(const ProjectModel& project, const std::string& directory,
                       const std::string& entry);

}  // namespace quillon
