#include "workspace/vsnet_project.h"

#include "engine/converter.h"
#include "workspace/project_file.h"

namespace quillon {

namespace {

void takeFile(VsNetProject& project, std::string_view attributes) {
  std::string path = attributeValue(attributes, "Link");
  if (path.empty()) path = attributeValue(attributes, "RelPath");
  if (!path.empty()) project.files.push_back(std::move(path));
}

void takeSettings(VsNetProject& project, std::string_view attributes) {
  if (project.rootNamespace.empty())
    project.rootNamespace = trimmedXml(attributeValue(attributes, "RootNamespace"));
  if (project.assemblyName.empty())
    project.assemblyName = trimmedXml(attributeValue(attributes, "AssemblyName"));
}

}  // namespace

bool isVsNetProjectFile(const std::string& path) {
  if (!endsWithIgnoreCase(path, ".csproj") && !endsWithIgnoreCase(path, ".vbproj") &&
      !endsWithIgnoreCase(path, ".vjsproj"))
    return false;
  return firstStartTag(path).name == "VisualStudioProject";
}

// Every File element lists a file, whatever its BuildAction: Compile, EmbeddedResource,
// Content and None all name a file of the project (the action only says what the build
// does with it), as every file of a .vcproj or .dsp is listed. Folder, Reference and
// Import elements name no file.
void readVsNetLine(VsNetProject& project, std::string_view line) {
  const std::string text = continuedText(project.scan, line);
  scanStartTags(
      project.scan, text,
      [](std::string_view name) { return name == "File" || name == "Settings"; },
      [&project](std::string_view name, std::string_view attributes) {
        if (name == "File") {
          takeFile(project, attributes);
        } else {
          takeSettings(project, attributes);
        }
      });
}

std::string vsNetProjectName(const VsNetProject& project, const std::string& path) {
  if (!project.rootNamespace.empty()) return project.rootNamespace;
  if (!project.assemblyName.empty()) return project.assemblyName;
  return projectNameFromFile(path);
}

bool readVsNetProjectFile(SourceFileConverter& converter, const std::string& path) {
  RunState& run = converter.context.run;
  VsNetProject project;
  if (!readProjectLines(run, path, [&](std::string_view line) {
        readVsNetLine(project, line);
        return true;
      }))
    return false;
  setProjectName(converter.project, vsNetProjectName(project, path));
  for (const std::string& file : project.files) addListedFile(converter.project, file);
  return true;
}

}  // namespace quillon
