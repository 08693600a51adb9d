#pragma once
// Reading the MSBuild projects of Visual Studio 2010 and later: .vcxproj files, and
// SDK-style .csproj and .vbproj files (a Project element with an Sdk attribute), whose
// sources are implicit. Line by line like the older formats, but an item's path is its
// whole quoted Include value, and XML comments are skipped. Older .csproj and .vbproj
// files keep the line rules of project_file.h.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/xml_tags.h"

namespace quillon {

struct SourceFileConverter;

enum class MsbuildFormat {
  None,       ///< not read here: .dsp, .vcproj, .vjsproj and the older .csproj/.vbproj
  Vcxproj,    ///< ClCompile, ClInclude, ResourceCompile, None, Image and Text items
  SdkCsharp,  ///< every .cs below the project's folder, and its Compile items
  SdkVb,      ///< every .vb below the project's folder, and its Compile items
};

/// One Include or Remove of an item, in the order of the file.
struct MsbuildItem {
  bool remove = false;
  std::string value;  ///< one entry of the attribute's ";" list, as written
};

/// What the lines of an MSBuild project say, gathered as they are read.
struct MsbuildProject {
  std::string projectName;    ///< the first <ProjectName>
  std::string rootNamespace;  ///< the first <RootNamespace>
  std::string assemblyName;   ///< the first <AssemblyName>
  std::vector<MsbuildItem> items;
  bool defaultCompileItems = true;  ///< false after <EnableDefaultCompileItems>false
  TagScanner scan;                  ///< comments and item tags across lines
};

/// The format of the project file `path` (the file is read for a .csproj or .vbproj).
MsbuildFormat msbuildFormatOf(const std::string& path);

/// Applies one line of a project of `format` to `project`.
void readMsbuildLine(MsbuildProject& project, std::string_view line, MsbuildFormat format);

/// The project's name: <ProjectName>, else <RootNamespace>, else <AssemblyName> (a value
/// that holds a "$(" property is no name), else the project file's name without its
/// extension.
std::string msbuildProjectName(const MsbuildProject& project, const std::string& path);

/// The listed files in order, as relative paths. A .vcxproj lists its items as written;
/// an SDK-style project starts from the files of its folder (unless told not to) and
/// applies its Compile items in order: an Include adds files not yet listed, a Remove
/// takes away every listed file it matches; both may hold "*", "?" and "**". The folder
/// walks and the number of Removes and wildcard Includes are bounded; `cutShort` tells
/// whether a bound left files out.
std::vector<std::string> msbuildListedFiles(const MsbuildProject& project, MsbuildFormat format,
                                            const std::string& projectDirectory,
                                            bool* cutShort);

/// $(SolutionDir) for a project in the folder `projectDirectory`, ending with a backslash:
/// the way up to the solution's folder `solutionDirectory` ("..\", "..\..\") when that
/// folder holds the project, else the solution's folder in full; the project's own folder
/// (".\") when there is no solution.
std::string solutionDirFor(const std::string& projectDirectory,
                           const std::string& solutionDirectory);

/// An item's path with its folder macros written out, relative to the project's folder:
/// $(ProjectDir) and $(MSBuildThisFileDirectory) give ".\", $(MSBuildProjectDirectory)
/// gives "." and $(SolutionDir) gives `solutionDir` (letter case aside). Nothing when any
/// other macro stands in it; `unknown` then names that macro, as in "$(IntDir)".
std::optional<std::string> expandFolderMacros(std::string_view value,
                                              const std::string& solutionDir,
                                              std::string* unknown);

/// Reads the MSBuild project file `path` (full path) into the converter's project, which
/// is empty. The items of a .vcxproj have their folder macros written out, $(SolutionDir)
/// standing for `solutionDirectory` (empty: none); an item with any other macro is left
/// out, and each such macro reported once. False (reported as a problem) when the file
/// cannot be read.
bool readMsbuildProjectFile(SourceFileConverter& converter, const std::string& path,
                            MsbuildFormat format, const std::string& solutionDirectory);

}  // namespace quillon
