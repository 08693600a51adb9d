#pragma once
// Tree pages that open at once however long their trees: the page holds the top level
// alone, and each node's lines are written into a script (tree_scripts.h) that the page
// loads when the node is first opened. A node's lines are those its child division holds
// in the whole page (the same items, icons, connectors, links and handlers), except that
// the nodes among them load their own lines in turn.
//
// The source tree keeps its folders and their numbers ("Folder3"). The class tree groups
// its records by the first letter of their names (A to Z, "_", then "Other"), each group
// a node that looks like a folder ("Letter1", "Letter2", ...); a group's lines are its
// records' nodes, numbered as in the whole page ("ClassItem12"), and a record's lines are
// its members. A group of more than 500 records is split where their names first differ
// ("Widget1", "Widget2", ... under "W"), and so on, so that no group's lines are many.
#include <cstddef>
#include <string>
#include <vector>

namespace quillon {

/// The longest tree block that `TreeForm::Auto` writes into its page whole. Measured with
/// tests/browser/tree_speed.mjs (a class tree page opened alone in headless Chromium from
/// disk, on a two-core machine shared with other work): the page was parsed after about
/// 1.0 s at 5,000 lines, 1.4 s at 10,000, 1.9 s at 20,000 and 3.2 s at 40,000 (0.2 s at 100;
/// the times varied by a third with the other work). About a second, then, between 5,000
/// and 10,000 lines; a lazy page opens in 0.2 s whatever its tree's length.
inline constexpr size_t lazyTreeLines = 10000;

class Utf8Check;
struct ClassModel;
struct ProjectModel;

/// How many lines the whole source tree block of the project has (folder nodes and files).
size_t sourceTreeLineCount(const ProjectModel& project);

/// How many lines the whole class tree block of the model has (record nodes and members).
size_t classTreeLineCount(const ClassModel& model);

/// Adds to `check` the names that the source tree's lines hold, each followed by a line
/// end: checked so, they decide the trees' charset as the whole page's lines would.
void addSourceTreeNames(Utf8Check& check, const ProjectModel& project);

/// The same for the class tree: the records' names and pages, the members' texts.
void addClassTreeNames(Utf8Check& check, const ClassModel& model);

/// Appends the top level of the project's source tree to `lines` and writes the lines of
/// its folders into scripts of the workspace folder `directory` ("trees/s<N>.js"), their
/// strings read as UTF-8 with `utf8`, else windows-1252. False when a script cannot be
/// written.
bool buildLazySourceTree(const ProjectModel& project, std::vector<std::string>& lines,
                         const std::string& directory, bool utf8);

/// The same for the class tree ("trees/c<N>.js"): the letters in `lines`, their records
/// and the records' members in the scripts, written as they are made. `memberLines` as
/// for `buildClassTree`.
bool buildLazyClassTree(const ClassModel& model, std::vector<std::string>& lines,
                        const std::string& directory, bool utf8, bool memberLines);

}  // namespace quillon
