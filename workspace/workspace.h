#pragma once
// Workspace runs: a project file, or a set of files, becomes a folder of pages with a
// source tree, a class tree, tab pages and images, and a frameset index page beside it.
#include <string>
#include <vector>

namespace quillon {

struct SourceFileConverter;

/// Converts the project file `path` (full, or relative to the run's current directory)
/// into its workspace in the output directory.
void convertProject(SourceFileConverter& converter, const std::string& path);

/// Converts `paths` together into the workspace "Project_HTML" in the output directory.
/// The files are read from the run's current directory.
void convertFileSet(SourceFileConverter& converter, const std::vector<std::string>& paths);

}  // namespace quillon
