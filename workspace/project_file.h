#pragma once
// Reading a project file (.vcproj, .dsp, .csproj, .vbproj, .vjsproj): line by line, each
// line tested for a few fixed keys, whatever the format. The project's name and the files
// it lists go into the ProjectModel; the folders of the file are not read. A listed path
// is kept as written, relative to the project file's folder (a leading ".\" dropped). The
// MSBuild projects of later years (.vcxproj, SDK-style .csproj and .vbproj) and the
// projects of Visual Studio .NET 2002/2003 have readers of their own
// (msbuild_project.h, vsnet_project.h), which readProjectFile hands them to.
#include <functional>
#include <string>
#include <string_view>

namespace quillon {

struct ProjectModel;
struct RunState;
struct SourceFileConverter;

/// Shown (caption "Error") when a "RelativePath" or "SOURCE=" line cannot be parsed.
inline constexpr std::string_view projectParseFailure =
    "Unable to parse source files from project";
/// Shown (caption "Error") when a "Compile Include=" line cannot be parsed.
inline constexpr std::string_view projectFileParseFailure =
    "Unable to parse source files from project file";

/// Where a project is converted from.
struct ProjectOrigin {
  /// The folder of the solution that lists the project; empty for a project on its own.
  std::string solutionDirectory;
  /// The name its workspace takes (titles, index page); empty: the one its file gives.
  std::string name = {};
  /// Its workspace folder; empty: the one its file's name gives ("Calc_HTML").
  std::string folderName = {};
};

/// Applies one line of a project file to `project`. Returns the failure message when the
/// line lists a path that cannot be cut from it, else an empty text.
std::string readProjectLine(ProjectModel& project, std::string_view line);

/// Appends `path`, without a leading ".\", to the header, resource or source list by its
/// ending; an empty path is no file and is dropped.
void addListedFile(ProjectModel& project, std::string_view path);

/// Empties the project's names and its five lists.
void clearProject(ProjectModel& project);

/// Names the project `name` (and its index page `name` + "_Project").
void setProjectName(ProjectModel& project, std::string name);

/// The name a project takes from its file when the file names none: the file's name
/// without its extension, or "Project" when that leaves nothing.
std::string projectNameFromFile(const std::string& path);

/// Hands each line of the file `path` to `take` until the end of the file, a stop request
/// or `take` returning false. False (reported as "<NAME can't be read>") when the file
/// cannot be read.
bool readProjectLines(RunState& run, const std::string& path,
                      const std::function<bool(std::string_view)>& take);

/// What makes the file `path` no project file at all: "is empty" (nothing but blanks) or
/// "is not a text file"; empty when it is neither (or cannot be opened).
std::string projectFileFault(const std::string& path);

/// The name that the project file `path` (full) gives its project, as `readProjectFile`
/// names it, read without a word to the user; empty when it cannot be read.
std::string projectOwnName(const std::string& path);

/// Reads the project file `path` (full, or relative to the run's current directory) into
/// the converter's project, which it empties first. Reading ends early on a stop request.
/// False when the run must end here: the file cannot be read or is empty or not text
/// (reported as a problem), or a path line cannot be parsed (the message is shown).
bool readProjectFile(SourceFileConverter& converter, const std::string& path,
                     const ProjectOrigin& origin = {});

}  // namespace quillon
