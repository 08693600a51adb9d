#pragma once
// Reading the projects of Visual Studio .NET 2002 and 2003: .csproj, .vbproj and .vjsproj
// files whose root element is VisualStudioProject. Every file of the project is a File
// element of its Files section, with its attributes usually one per line
// (RelPath = "GUI\Form1.cs", SubType = "Form", BuildAction = "Compile"); the project's
// names are attributes of its Settings element.
#include <string>
#include <string_view>
#include <vector>

#include "workspace/xml_tags.h"

namespace quillon {

struct SourceFileConverter;

/// What the lines of such a project say, gathered as they are read.
struct VsNetProject {
  std::string rootNamespace;  ///< of the Settings element
  std::string assemblyName;   ///< of the Settings element
  /// The File elements' paths in order, relative to the project's folder: where the file
  /// lies (its Link, for a file kept outside the project's folders), else its RelPath.
  std::vector<std::string> files;
  TagScanner scan;
};

/// True for a .csproj, .vbproj or .vjsproj file whose first element is VisualStudioProject.
bool isVsNetProjectFile(const std::string& path);

/// Applies one line of the project to `project`.
void readVsNetLine(VsNetProject& project, std::string_view line);

/// The project's name: its RootNamespace, else its AssemblyName, else the file's name.
std::string vsNetProjectName(const VsNetProject& project, const std::string& path);

/// Reads the project file `path` (full path) into the converter's project, which is
/// empty. False (reported as a problem) when the file cannot be read.
bool readVsNetProjectFile(SourceFileConverter& converter, const std::string& path);

}  // namespace quillon
