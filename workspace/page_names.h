#pragma once
// What a workspace calls the files it lists. Every file gets a page of its own (and every
// image its own copy in Images), even when files of one name lie in several folders: the
// first file of a name keeps NAME.htm; a later one's page carries as many of its folders
// as tell it apart, joined by "~" (Forms\Main.vb and Legacy\Main.vb give Main.vb.htm and
// Legacy~Main.vb.htm). Names are compared without regard to letter case, as Windows
// does, and never take the name of a page the workspace writes itself (a file named like
// one gets "~2"). No page name begins with "." (a hidden file): leading dots become "_".
#include <string>
#include <vector>

namespace quillon {

struct ProjectModel;
struct ListedName;

/// Names every path of the project's three lists, in the order sources, headers,
/// resources. Paths that name the same file (by `pathKey`, which in a folder read from
/// disk keeps letter case) get the same name. Files whose
/// names collide are shown with the folders that tell them apart ("Legacy\Main.vb").
void nameListedFiles(ProjectModel& project);

/// The page names of separate pages written into one folder, in the same way: the first
/// file of a name keeps NAME.htm, a later one carries its folders.
std::vector<std::string> separatePageNames(const std::vector<std::string>& paths);

/// Names that tell apart things named alike (the workspaces of a solution's projects,
/// `names[i]` for the one at `paths[i]`) as pages are told apart: the first of a name
/// keeps it, a later one carries as many folders of its path as tell it apart, joined by
/// "~" ("gui~viewer"), and one still alike gets "~2", "~3", .... Letter case aside.
std::vector<std::string> distinctNames(const std::vector<std::string>& names,
                                       const std::vector<std::string>& paths);

/// The name of the listed path `entry`: as named by `nameListedFiles`, else its own name
/// (plus ".htm" unless it is an image that the workspace copies).
ListedName listedNameOf(const ProjectModel& project, const std::string& entry);

}  // namespace quillon
