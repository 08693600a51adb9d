// A test tool: writes a small C workspace with cross-references whose records are made by
// hand (as a scanner would give them), so that the browser test of the cross-references
// (xref.test.mjs) sees real pages, chooser pages and uses scripts whatever the scanners
// find. The sources go into OUT/src, the workspace into OUT (Project_HTML).
//
//   xref_fixture DATA_DIR OUT
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "classmodel/class_links.h"
#include "classmodel/records.h"
#include "engine/converter.h"
#include "engine/encoding.h"
#include "engine/page_writer.h"
#include "platform/platform.h"
#include "workspace/cross_references.h"
#include "workspace/project_file.h"
#include "workspace/project_model.h"
#include "workspace/workspace.h"
#include "xref/scan.h"

using namespace quillon;
using namespace quillon::xref;

namespace {

struct Source {
  std::string name, text;
  FileScan scan;
  /// A record of the `ordinal`-th `name` on `line`.
  Source& at(std::uint32_t line, std::string_view name, SymbolKind kind, Role role,
             std::string_view scope = "", std::uint8_t flags = 0, int ordinal = 0) {
    size_t start = 0;
    for (std::uint32_t l = 1; l < line; ++l) start = text.find('\n', start) + 1;
    size_t column = start;
    for (int k = 0; k <= ordinal; ++k) column = text.find(name, k ? column + 1 : start);
    Record r;
    r.name = scan.intern(name);
    r.kind = kind;
    r.role = role;
    r.scope = scan.intern(scope);
    r.flags = flags;
    r.line = line;
    r.column = static_cast<std::uint32_t>(column - start);
    scan.records.push_back(r);
    return *this;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: xref_fixture DATA_DIR OUT\n");
    return 2;
  }
  const std::string out = std::filesystem::absolute(argv[2]).string();
  const std::string src = platform::joinPath(out, "src");
  platform::createDirectory(out);
  platform::createDirectory(src);

  std::vector<Source> sources(4);
  sources[0].name = "util.h";
  sources[0].text = "int area(int w, int h);\n";
  sources[0].at(1, "area", SymbolKind::Function, Role::Declaration);
  sources[1].name = "util.c";
  // A line of hostile text in UTF-8: a line separator, quotes, a backslash, an end tag.
  sources[1].text =
      "#include \"util.h\"\nint area(int w, int h) { return w * h; }\n"
      "int unit = area(1, 1); // \xE2\x80\xA8 \\' \" </script> \xC3\xA9\n";
  sources[1]
      .at(2, "area", SymbolKind::Function, Role::Definition)
      .at(3, "unit", SymbolKind::Variable, Role::Definition)
      .at(3, "area", SymbolKind::Unknown, Role::Call);
  sources[2].name = "shapes.c";
  sources[2].text = "struct Point { int x; };\nstruct Size { int x; };\n";
  sources[2]
      .at(1, "Point", SymbolKind::Struct, Role::Definition)
      .at(1, "x", SymbolKind::Field, Role::Definition, "Point")
      .at(2, "Size", SymbolKind::Struct, Role::Definition)
      .at(2, "x", SymbolKind::Field, Role::Definition, "Size");
  sources[3].name = "main.c";
  sources[3].text =
      "#include \"util.h\"\n"
      "/* the sizes */\n"
      "int total;\n"
      "int main(struct Point *q) {\n"
      "  total = area(2, 3); /* \"</script>\" */\n"
      "  total = total + area(4, 5);\n"
      "  return q->x;\n"
      "}\n";
  sources[3]
      .at(3, "total", SymbolKind::Variable, Role::Definition)
      .at(4, "main", SymbolKind::Function, Role::Definition)
      .at(4, "Point", SymbolKind::Unknown, Role::Read)
      .at(5, "total", SymbolKind::Unknown, Role::Write)
      .at(5, "area", SymbolKind::Unknown, Role::Call)
      .at(6, "total", SymbolKind::Unknown, Role::Write)
      .at(6, "total", SymbolKind::Unknown, Role::Read, "", 0, 1)
      .at(6, "area", SymbolKind::Unknown, Role::Call)
      .at(7, "x", SymbolKind::Unknown, Role::Read, "", AfterMember);

  ConversionSettings settings;
  RunState run;
  ReferenceLinkTable links;
  ClassModel classes;
  RunContext context{settings, run, links, classes, nullptr, nullptr, &classModelPasses()};
  settings.startupDirectory = std::filesystem::absolute(argv[1]).string();
  settings.outputDirectory = out;
  settings.crossReferences = true;
  run.currentDirectory = src;
  SourceFileConverter converter(context);
  clearProject(converter.project);
  converter.project.displayName = "Project";
  converter.project.indexName = "Source_Project";

  WorkspaceXref xref;
  for (Source& s : sources) {
    const std::string path = platform::joinPath(src, s.name);
    if (!writeTextFile(path, s.text)) return 1;
    addListedFile(converter.project, path);
    finishScan(s.text, s.scan);
    xref.fileOfPage["Project_HTML/" + s.name + ".htm"] =
        static_cast<std::uint32_t>(xref.pages.size());
    xref.pages.push_back(s.name + ".htm");
    xref.folders.push_back("Project_HTML");
    xref.shown.push_back(s.name);
    xref.utf8.push_back(isUtf8Text(s.text));
    xref.table.files.push_back(std::move(s.scan));
  }
  resolveCrossReferences(xref, 1);
  ListedWorkspace workspace{"Project_HTML", "ProjectTree_Template.htm", src, false, &xref};
  convertListedFiles(converter, workspace);
  return run.problemCount == 0 ? 0 : 1;
}
