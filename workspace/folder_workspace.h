#pragma once
// A folder as a project: every file below it that the program converts becomes part of
// one workspace, whose source tree shows the folders as they lie on disk. What a
// checkout holds besides its sources (version control, build output, packages, hidden
// files, huge files, the workspace being written) is left out and summed up.
#include <atomic>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"

namespace quillon {

struct SourceFileConverter;

/// What a folder walk leaves out besides the files it does not convert.
struct FolderRules {
  std::vector<std::string> outputFolders;  ///< folders the run writes into
  std::uint64_t maxFileSize = std::uint64_t{8} << 20;
  const std::atomic<bool>* stop = nullptr;  ///< ends the walk when set
};

/// The files a folder walk found.
struct FolderListing {
  /// Paths relative to the folder, "\" between names, in tree order: in each folder its
  /// folders first, then its files, each sorted by name without regard to letter case.
  std::vector<std::string> files;
  std::string leftOut;                  ///< what was left out, summed up; empty: nothing
  std::vector<std::string> unreadable;  ///< folders that could not be read (relative)
  /// The files whose path the system writes otherwise, with their full paths: a name that
  /// holds "\\" (which POSIX allows) is listed with U+FF3C in its place.
  std::unordered_map<std::string, std::string> diskPaths;
  /// The stamps of the files the walk took, as it found them, by path (a file whose
  /// stamp the listing did not tell has none).
  std::unordered_map<std::string, platform::FileStamp> stamps;
};

/// True for the files a folder walk takes: the source and resource kinds.
bool isFolderFile(const std::string& name);

/// Walks `folder` and everything below it. Links to folders are not followed.
FolderListing listFolder(const std::string& folder, const FolderRules& rules);

/// A folder's path without a separator at its end and without a last "." or ".." name.
std::string cleanFolderPath(const std::string& path);

/// Converts the folder at `path` (full, or relative to the run's current directory) into
/// the workspace NAME_HTML and the index page NAME_Project.htm in the output directory,
/// NAME being the folder's name.
void convertFolder(SourceFileConverter& converter, const std::string& path);

}  // namespace quillon
