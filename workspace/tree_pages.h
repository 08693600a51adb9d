#pragma once
// The two tree pages of a workspace, SourceTree.htm and ClassTree.htm: filled from their
// templates, each whole or with its nodes loaded on demand (workspace/lazy_trees.h) as
// the settings and its length ask, themed, and written with the charset their names need.
#include <cstddef>
#include <string>

namespace quillon {

struct RunContext;
struct ProjectModel;

/// Where the tree pages go: the workspace folder, its name, the source tree's template.
struct TreePagesPlan {
  std::string directory;
  std::string folderName;
  std::string sourceTreeTemplate;
};

/// Which tree pages load their nodes on demand.
struct TreeForms {
  bool sourceLazy = false;
  bool classLazy = false;
};

/// The forms the run's settings give the project's trees: with `TreeForm::Auto`, a tree
/// page whose whole block would be longer than `lazyTreeLines` loads on demand.
TreeForms treeFormsOf(const RunContext& context, const ProjectModel& project);

/// Builds and writes both tree pages (and the scripts of a lazy one, and TreeNodes.js
/// beside them), and tells in `utf8` whether they declare UTF-8. False (reported once)
/// when the workspace cannot be written.
bool writeTreePages(RunContext& context, ProjectModel& project, const TreePagesPlan& plan,
                    bool* utf8);

/// Copies the program's script `name` from its data folder into the workspace folder
/// `directory`, replacing an earlier run's copy (whose trees it may no longer fit), its
/// lines ended by CR LF. A script that cannot be read or written is reported.
void copyDataScript(RunContext& context, const std::string& directory, const char* name);

}  // namespace quillon
