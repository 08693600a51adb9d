#pragma once
// Workspace runs: a project file, or a set of files, becomes a folder of pages with a
// source tree, a class tree, tab pages and images, and a frameset index page beside it.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/project_file.h"

namespace quillon {

struct RunContext;
struct SourceFileConverter;
struct WorkspaceXref;
class ManifestReading;

/// Converts the project file `path` (full, or relative to the run's current directory)
/// into its workspace in the output directory. The files it lists are read relative to
/// the project file's directory. A workspace folder that cannot be made is reported and
/// nothing is converted. `origin` tells which solution, if any, lists the project.
void convertProject(SourceFileConverter& converter, const std::string& path,
                    const ProjectOrigin& origin = {});

/// Converts `paths` (full paths) together into the workspace "Project_HTML" in the
/// output directory.
void convertFileSet(SourceFileConverter& converter, const std::vector<std::string>& paths);

/// A workspace of files already listed in the converter's project.
struct ListedWorkspace {
  std::string folderName;          ///< the workspace folder: "Calc_HTML", "Project_HTML"
  std::string sourceTreeTemplate;  ///< the template of its source tree
  std::string sourceDirectory;     ///< what the listed paths are relative to
  bool sortRecords = false;        ///< the class tree in name order (else as found)
  /// With cross-references: the table its files are in already (a solution's, which all
  /// its projects share); null: the workspace gathers its own.
  const WorkspaceXref* xref = nullptr;
  /// In an incremental run: the workspace's last manifest, being read already; null: it
  /// is read when the listed files have been named.
  ManifestReading* manifest = nullptr;
};

/// Reads the project file `path` (full, or relative to the run's current directory) into
/// the converter's project as its workspace will list it: named as `origin` asks, its
/// files named and found on disk. False when the run must end here (reported).
bool readProjectWorkspace(SourceFileConverter& converter, const std::string& path,
                          const ProjectOrigin& origin, ListedWorkspace* workspace);

/// Builds the workspace of the files listed in the converter's project into the output
/// directory: names them, gathers their classes, and writes the trees, the pages, the
/// images, the tab pages and the index page. A folder that cannot be made is reported.
void convertListedFiles(SourceFileConverter& converter, const ListedWorkspace& workspace);

/// The script and style sheet of the tree pages, beside them in every workspace.
inline constexpr const char* treeScriptName = "Tree.js";

/// Whether the data folder holds what every workspace is made from: the three tree
/// templates and their script, the two tab pages and the Images folder. When it does not, one problem line
/// names what is missing and how to give the folder, and nothing may be written.
bool haveWorkspaceData(RunContext& context);

/// Appends the block of lines that replaces a template's placeholder line.
using BlockProducer = std::function<void(std::vector<std::string>&)>;

/// Appends the lines of the template file `templatePath` to `lines`: a line holding
/// "<ProgramName>" becomes its text before the placeholder followed by `programName`; a
/// line holding `placeholder` is replaced by the block of `produce`; other lines are kept.
/// False when the template cannot be read.
bool fillFromTemplate(const std::string& templatePath, const std::string& programName,
                      std::vector<std::string>& lines, std::string_view placeholder,
                      const BlockProducer& produce);

/// Inserts `name` into every line of the file `path` that holds "theFile", five
/// characters after the end of its first "theFile"; with `utf8` its charset becomes
/// UTF-8 (see `declareUtf8`). A file that cannot be read or written is left as it was.
void stampFileTab(const std::string& path, const std::string& name, bool utf8 = false);

/// Whether the tree pages' lines hold UTF-8 names: well-formed UTF-8 with a multi-byte
/// character, and no byte of another 8-bit text. Such trees, their file tab and search
/// index declare UTF-8 (else windows-1252, as their templates do), so that a name shows
/// as written and a link's "#name" meets the anchor of a UTF-8 page.
bool holdUtf8Names(const std::vector<std::string>& sourceTree,
                   const std::vector<std::string>& classTree);

/// Makes the first charset declaration of `lines` that names windows-1252 name UTF-8.
void declareUtf8(std::vector<std::string>& lines);

/// The frameset index page: the trees and tab pages of the workspace folder `folder`,
/// and `sourcePage` (a path relative to the index page) in the source frame. A title
/// with a UTF-8 character gets a UTF-8 charset declaration; others none, as ever.
std::string indexPageText(const std::string& title, const std::string& folder,
                          const std::string& sourcePage);

/// The workspace folder of a project file: its name without the extension, then "_HTML".
std::string projectFolderName(const std::string& path);

/// The index page's file name for the project name `indexName`: ".htm" appended, and
/// characters that would lead out of the output directory, and the dots it begins with
/// (which would hide it), replaced by "_".
std::string indexFileName(const std::string& indexName);

}  // namespace quillon
