#pragma once
// A scratch world for workspace runs: a small data folder of our own (templates, tab
// pages, a few images), a source folder and an output folder, with a run context whose
// current directory is the source folder.
#include <string>
#include <vector>

#include "classmodel/class_links.h"
#include "classmodel/records.h"
#include "engine/converter.h"
#include "platform/platform.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temp_dir.h"
#include "workspace/assets.h"
#include "workspace/workspace.h"

namespace testing_support {

inline const char* const treeTemplate =
    "<html><head><title>Tree: <ProgramName></title> (lost)\n"
    "<script>function tree_iconclick(id) {} function SendTabText(name) {}</script>\n"
    "</head><body>\n"
    "<div class=\"tree_root\"><ProgramName>\n"
    "</div>\n"
    "around <PLACEHOLDER> around\n"
    "</body></html>\n";

struct WorkspaceFixture {
  TempDir dir;
  std::string data = dir.mkdir("data");
  std::string src = dir.mkdir("src");
  std::string out = dir.mkdir("out");
  quillon::ConversionSettings settings;
  quillon::RunState run;
  quillon::ReferenceLinkTable links;
  quillon::ClassModel classes;
  quillon::RunContext context{settings, run, links, classes, nullptr, nullptr,
                              &quillon::classModelPasses()};

  explicit WorkspaceFixture(bool allImages = false) {
    scripted::reset();
    writeTemplate("SourceTree_Template.htm", "<FOLDERS>");
    writeTemplate("ProjectTree_Template.htm", "<FOLDERS>");
    writeTemplate("ClassTree_Template.htm", "<CLASSES>");
    dir.write("data/Tree.js", "function tree_iconclick(id) {}\nfunction SendTabText(name) {}\n");
    dir.write("data/Xref.js", "function quillonXref(data) {}\n");
    dir.write("data/TreeNodes.js", "function quillonTreeNodes(nodes) {}\n");
    dir.write("data/Tabs.htm", "<html>tabs</html>\n");
    dir.write("data/FileTab.htm", "<html>\n<span class=\"theFile pg\"></span>\n</html>\n");
    for (const char* name : quillon::workspaceImageNames) {
      const std::string image = name;
      if (allImages || image == "T.gif" || image == "foldericon.gif")
        dir.write("data/Images/" + image, "image " + image);
    }
    settings.startupDirectory = data;
    settings.outputDirectory = out;
    settings.sourceDirectory = src;
    run.currentDirectory = src;
  }

  void writeTemplate(const std::string& name, const std::string& placeholder) {
    std::string text = treeTemplate;
    text.replace(text.find("<PLACEHOLDER>"), 13, placeholder);
    dir.write("data/" + name, name == "ProjectTree_Template.htm" ? "files\n" + text : text);
  }

  void source(const std::string& name, const std::string& bytes) { dir.write("src/" + name, bytes); }

  /// Converts a project of the source folder, which is made current as a drop would.
  void project(const std::string& name) {
    run.currentDirectory = src;
    quillon::SourceFileConverter converter(context);
    quillon::convertProject(converter, name);
  }

  void fileSet(const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(platform::joinPath(src, name));
    run.currentDirectory = src;
    quillon::SourceFileConverter converter(context);
    quillon::convertFileSet(converter, paths);
  }

  /// A file below the output folder ("/" between folders), its bytes.
  std::string output(const std::string& name) const { return dir.read("out/" + name); }
  bool exists(const std::string& name) const {
    return platform::fileExists(platform::resolvePath(out, name));
  }
};

/// The problem lines that the run has reported so far, in order.
inline std::vector<std::string> problemLines() {
  std::vector<std::string> lines;
  for (const scripted::Event& e : scripted::events())
    if (e.kind == "problem") lines.push_back(e.text);
  return lines;
}

/// Sources of a small calculator, shared by several cases.
inline const char* const calcCpp =
    "#include \"calc.h\"\n// Adds two numbers.\nint Calc::add(int a, int b) { return a + b; }\n";
inline const char* const calcH =
    "class Calc {\npublic:\n\tint add(int a, int b);\nprivate:\n\tint memory;\n};\n"
    "enum Key { Plus, Minus };\n";
inline const char* const mainCpp =
    "#include \"calc.h\"\nstruct Args { int count; };\nint main() { Calc c; return c.add(1, 2); }\n";

}  // namespace testing_support
