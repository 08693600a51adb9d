#pragma once
// Solutions (.sln): every project a solution lists is converted into its own workspace in
// the output folder, in the solution's order, and a small solution page beside them
// links to each project's index page.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

struct RunContext;

/// A project as a solution lists it: Project("{kind}") = "Name", "Path", "{id}".
struct SolutionProject {
  std::string kind;  ///< the project type id, braces included
  std::string name;
  std::string path;  ///< relative to the solution's folder, as written
};

/// The project that a line of a solution lists; nothing for any other line.
std::optional<SolutionProject> solutionProjectLine(std::string_view line);

/// True for the entries that only group other entries (solution folders).
bool isSolutionFolder(const SolutionProject& project);

/// A project of the solution as its page lists it.
struct SolutionEntry {
  std::string name;       ///< as the solution names it
  std::string path;       ///< as the solution lists it
  std::string indexPage;  ///< its index page, beside the solution page; empty: not converted
  std::string folder;     ///< its workspace folder ("Calc_HTML"), which holds its pictures
  std::string language;   ///< "C/C++", "C#", "Visual Basic", "J#"; empty when not read
  size_t files = 0;
  size_t classes = 0, structs = 0, enums = 0;
  std::string note;  ///< why it was not converted ("missing", ...)
};

/// The solution page: a title and one row per project in the solution's order, with its
/// language and counts, linking the index page of each converted one (LF line ends). It
/// looks like the workspaces' tree pages and shows their pictures.
std::string solutionPageText(const std::string& solutionName,
                             const std::vector<SolutionEntry>& entries, bool utf8);

/// The solution page's file name: the solution's name followed by "_Solution.htm".
std::string solutionPageName(const std::string& solutionName);

/// Converts every project of the solution file `path` (full, or relative to the run's
/// current directory) into the output directory and writes the solution page there,
/// which becomes the page written last. Entries of other kinds are reported and skipped.
/// Each project's path is found letter case aside, and each project gets a workspace
/// folder and index page of its own: named as it names itself, or where projects name
/// themselves alike, as the solution names it, told apart further as pages are.
void convertSolution(RunContext& context, const std::string& path);

}  // namespace quillon
