// Arbitrary bytes as a project file: line by line through the key search, and whole
// through the reader of the project file kind that the first byte chooses. Every file the
// reader lists must be a path (never empty) in the list its ending decides; an old .csproj,
// .vbproj or .vjsproj whose first element is VisualStudioProject goes to its own reader.
// The MSBuild kinds are read line by line only (their item patterns walk the folders
// around the project, which here would be whatever the machine holds), and their items'
// folder macros written out.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "classmodel/class_links.h"
#include "classmodel/records.h"
#include "engine/converter.h"
#include "workspace/msbuild_project.h"
#include "workspace/project_file.h"

using namespace quillon;

namespace {

void checkLists(const ProjectModel& project) {
  for (const auto* list : {&project.sourceFiles, &project.headerFiles, &project.resourceFiles})
    for (const std::string& path : *list)
      if (path.empty()) std::abort();
  for (const std::string& path : project.headerFiles)
    if (!endsWithIgnoreCase(path, ".h") && !endsWithIgnoreCase(path, ".hpp")) std::abort();
  for (const std::string& path : project.resourceFiles)
    if (!isResourceFile(path)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string dir = [] {
    char pattern[] = "/tmp/quillon-fuzz-XXXXXX";
    return std::string(mkdtemp(pattern));
  }();
  if (size == 0) return 0;
  static const char* const names[] = {"p.vcproj", "p.dsp", "p.csproj", "p.vbproj",
                                      "p.vjsproj", "p.vcxproj", "p.VCPROJ", "p.csproj"};
  const std::string name = names[data[0] % 8];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  ProjectModel lines;
  LineReader reader;
  reader.openText(std::string(text));
  std::string line;
  while (reader.readLine(line)) (void)readProjectLine(lines, line);
  checkLists(lines);

  {
    std::FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
    if (!f) return 0;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  const MsbuildFormat format = msbuildFormatOf(dir + "/" + name);
  if (format != MsbuildFormat::None) {
    MsbuildProject project;
    reader.openText(std::string(text));
    while (reader.readLine(line)) readMsbuildLine(project, line, format);
    (void)msbuildProjectName(project, name);
    std::string unknown;
    for (const MsbuildItem& item : project.items)
      if (std::optional<std::string> path = expandFolderMacros(item.value, "..\\", &unknown))
        if (path->size() > item.value.size()) std::abort();  // each macro is longer than its folder
    return 0;
  }
  ConversionSettings settings;
  RunState run;
  run.currentDirectory = dir;
  ReferenceLinkTable links;
  ClassModel classes;
  RunContext context{settings, run, links, classes, nullptr, nullptr, &classModelPasses()};
  SourceFileConverter converter(context);
  (void)readProjectFile(converter, name);
  checkLists(converter.project);
  return 0;
}
