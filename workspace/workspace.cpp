#include "workspace/workspace.h"

#include "engine/converter.h"

namespace quillon {

// Placeholder until workspaces land: refuses with a clear line.
void convertProject(SourceFileConverter& converter, const std::string& path) {
  addProblem(converter.context.run, "<" + path + " can't be converted: workspaces are not supported yet>");
}

void convertFileSet(SourceFileConverter& converter, const std::vector<std::string>&) {
  addProblem(converter.context.run, "<file sets can't be converted: workspaces are not supported yet>");
}

}  // namespace quillon
