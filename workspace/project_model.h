#pragma once
// A parsed project: its name and the files it lists, sorted into three lists, and the
// lines of the two tree pages built from them.
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"

namespace quillon {

/// What a workspace calls one listed file.
struct ListedName {
  std::string page;   ///< its page's file name; for an image, its file name in Images
  std::string shown;  ///< what the trees and the file tab show
  bool missing = false;  ///< an image that cannot be found: the trees link the blank page
};

struct ProjectModel {
  std::string displayName;  ///< the project's name (titles, "<ProgramName>")
  std::string indexName;    ///< base name of the frameset index page
  std::vector<std::string> sourceTreeLines;
  std::vector<std::string> classTreeLines;
  std::vector<std::string> sourceFiles;
  std::vector<std::string> headerFiles;
  std::vector<std::string> resourceFiles;
  /// For a folder read from disk: its files in the order of its tree. Empty for a project.
  std::vector<std::string> folderFiles;
  /// The name of every listed path (as listed), once the lists are complete.
  std::unordered_map<std::string, ListedName> listedNames;
  /// Where every listed path (as listed) is read, found once per workspace
  /// (workspace/disk_paths.h): a path of the system; empty for an image found nowhere.
  std::unordered_map<std::string, std::string> diskPaths;
  /// The stamps of listed files (by path, as listed) that a folder walk took as it found
  /// them, which saves looking at each file again.
  std::unordered_map<std::string, platform::FileStamp> diskStamps;
};

}  // namespace quillon
