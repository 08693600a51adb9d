#pragma once
// A parsed project: its name and the files it lists, sorted into three lists, and the
// lines of the two tree pages built from them.
#include <string>
#include <vector>

namespace quillon {

struct ProjectModel {
  std::string displayName;  ///< the project's name (titles, "<ProgramName>")
  std::string indexName;    ///< base name of the frameset index page
  std::vector<std::string> sourceTreeLines;
  std::vector<std::string> classTreeLines;
  std::vector<std::string> sourceFiles;
  std::vector<std::string> headerFiles;
  std::vector<std::string> resourceFiles;
};

}  // namespace quillon
