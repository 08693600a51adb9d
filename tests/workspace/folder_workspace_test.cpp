// A folder as a project: what a walk takes and leaves out, its tree, its pages and its
// includes, against a golden copy.
#include "workspace/folder_workspace.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/workspace/golden_tree.h"
#include "tests/workspace/workspace_fixture.h"

using namespace quillon;
using namespace testing_support;

namespace {
using List = std::vector<std::string>;

/// Gives the fixture's tree templates the charset declaration that the program's own have.
[[maybe_unused]] void declareWindows1252(WorkspaceFixture& f) {
  for (const char* name : {"SourceTree_Template.htm", "ClassTree_Template.htm"})
    f.dir.write(std::string("data/") + name,
                "<meta charset=\"windows-1252\">\n" + f.dir.read(std::string("data/") + name));
}
}  // namespace

TEST(FolderWorkspace, ShowsTheTreeOnDiskAndLeavesOutWhatIsNoSource) {
  WorkspaceFixture f;
  f.source("lib/zeta.cpp", "#include \"Util.h\"\nclass Zeta {};\n");
  f.source("lib/Alpha.h", "#include \"../app/main.cc\"\n");
  f.source("lib/util.h", "struct Util { int n; };\n");
  f.source("lib/detail/util.h", "struct DetailUtil { int m; };\n");
  f.source("app/main.cc", "#include \"Alpha.h\"\n#include \"detail/util.h\"\nint main() {}\n");
  f.source("app/Legacy/main.cc", "int old;\n");
  f.source("README.md", "not a source\n");
  f.source("logo.png", "png bytes");
  f.source(".hidden.cpp", "int hidden;\n");
  f.source(".git/HEAD.c", "int head;\n");
  f.source("node_modules/pkg/x.js", "var x;\n");
  f.source("obj/Debug/gen.cpp", "int gen;\n");
  f.source("build/CMakeCache.txt", "CMAKE_BUILD_TYPE=Debug\n");
  f.source("build/conf.c", "int conf;\n");
  f.source("x64/Debug/app.obj", "object");
  f.source("x64/Debug/app.cpp", "int copied;\n");
  f.source("old/Calc_HTML/SourceTree.htm", "tree");
  f.source("old/Calc_HTML/ClassTree.htm", "tree");
  f.source("old/Calc_HTML/Images/T.gif", "gif");
  f.source("big.c", std::string(2000, 'x'));
  f.settings.maxFileSize = 1000;
  std::error_code noLinks;  // (Windows may not make links for anyone but its administrator)
  std::filesystem::create_directory_symlink(f.src, f.src + "/loop", noLinks);  // back up
  f.settings.outputDirectory = f.dir.mkdir("src/out");  // the output inside the input
  f.source("out/stale.cpp", "int stale;\n");
  f.run.currentDirectory = f.dir.path();
  SourceFileConverter converter(f.context);
  convertFolder(converter, "src/");

  // Every source once, folders before files, letter case aside; the rest summed up.
  EXPECT_EQ(converter.project.folderFiles,
            (List{"app\\Legacy\\main.cc", "app\\main.cc", "lib\\detail\\util.h", "lib\\Alpha.h",
                  "lib\\util.h", "lib\\zeta.cpp", "logo.png"}));
  const List lines = scripted::listLines();
  EXPECT_EQ(lines.front(),
            "Left out of src: 1 version-control folder (.git), 3 build folders (build, obj, "
            "x64), 1 package folder (node_modules), 1 earlier workspace (old\\Calc_HTML), 1 "
            "output folder (out), " + std::string(noLinks ? "" : "1 link to a folder (loop), ") +
            "1 hidden file or folder (.hidden.cpp), 1 file over the size limit of 1000 bytes (big.c)");
  EXPECT_EQ(f.run.convertedFileCount, 7);  // six pages and the image
  EXPECT_TRUE(platform::fileExists(f.dir.file("src/out/src_Project.htm")));
  // Same-named files have their own pages (the first in the tree keeps the name);
  // includes go beside the including file first, then to the file of the name whose
  // folders end as written, nearest first.
  EXPECT_NE(f.dir.read("src/out/src_HTML/zeta.cpp.htm").find("<a href=\"lib~util.h.htm\">Util.h</a>"),
            std::string::npos);
  const std::string main = f.dir.read("src/out/src_HTML/app~main.cc.htm");
  EXPECT_NE(main.find("<a href=\"util.h.htm\">detail/util.h</a>"), std::string::npos);
  EXPECT_NE(main.find("<a href=\"Alpha.h.htm\">Alpha.h</a>"), std::string::npos);
  EXPECT_NE(f.dir.read("src/out/src_HTML/Alpha.h.htm").find("<a href=\"app~main.cc.htm\">"),
            std::string::npos);
  EXPECT_NE(f.dir.read("src/out/src_HTML/main.cc.htm").find("old"), std::string::npos);
  platform::removeFile(platform::joinPath(f.settings.outputDirectory, "stale.cpp"));
  EXPECT_EQ(compareWithGoldenTree("workspace_folder", f.settings.outputDirectory), "");
}

TEST(FolderWorkspace, LazyTreesHoldTheirTopLevelAndTheirNodesLinesInScripts) {
  WorkspaceFixture f;
  f.settings.trees = TreeForm::Lazy;
  f.source("app/gui/view.h", "class View {\npublic:\n  void draw();\n  int width;\n};\n"
                             "struct Point { int x; };\nclass Empty {};\n");
  f.source("app/main.cpp", "#include \"gui/view.h\"\nint main() { View v; v.draw(); }\n");
  f.source("lib/util.h", "enum Mode { Fast, Slow };\nclass _Cache {\n  int size;\n};\n");
  f.source("top.c", "int top;\n");
  f.run.currentDirectory = f.dir.path();
  SourceFileConverter converter(f.context);
  convertFolder(converter, "src");
  EXPECT_EQ(f.run.problemCount, 0);
  EXPECT_EQ(compareWithGoldenTree("workspace_lazy", f.out), "");
}

TEST(FolderWorkspace, FilesThatDifferOnlyInLetterCaseAreFilesOfTheirOwn) {
  WorkspaceFixture f;
  f.source("net/xt_MARK.h", "struct xt_mark_tginfo2 { int mark; };\n");
  f.source("net/xt_mark.h", "struct xt_mark_mtinfo1 { int mark; };\n");
  if (f.dir.read("src/net/xt_MARK.h") == f.dir.read("src/net/xt_mark.h"))
    GTEST_SKIP() << "this file system does not tell letter cases apart";
  f.source("net/use.c", "#include \"xt_mark.h\"\n#include \"xt_MARK.h\"\n");
  f.run.currentDirectory = f.dir.path();
  SourceFileConverter converter(f.context);
  convertFolder(converter, "src");

  EXPECT_EQ(f.run.convertedFileCount, 3);
  const std::string upper = f.dir.read("out/src_HTML/xt_MARK.h.htm");
  const std::string lower = f.dir.read("out/src_HTML/net~xt_mark.h.htm");
  EXPECT_NE(upper.find("<a name=\"xt_mark_tginfo2\">"), std::string::npos);
  EXPECT_NE(lower.find("<a name=\"xt_mark_mtinfo1\">"), std::string::npos);
  // Each include finds the file spelt as it is written, as the compiler does here.
  const std::string use = f.dir.read("out/src_HTML/use.c.htm");
  EXPECT_NE(use.find("<a href=\"net~xt_mark.h.htm\">xt_mark.h</a>"), std::string::npos);
  EXPECT_NE(use.find("<a href=\"xt_MARK.h.htm\">xt_MARK.h</a>"), std::string::npos);
  EXPECT_NE(f.dir.read("out/src_HTML/ClassTree.htm").find("HREF=\"net~xt_mark.h.htm#xt_mark_mtinfo1\""),
            std::string::npos);
}

TEST(FolderWorkspace, TreesOfUtf8NamesDeclareUtf8) {
#ifdef _WIN32
  GTEST_SKIP() << "names reach the program in the system's code page there";
#else
  WorkspaceFixture f;
  declareWindows1252(f);
  // "Über/größe.h" declaring the class "Größe", and a file that includes it.
  f.source("\xC3\x9C" "ber/gr\xC3\xB6\xC3\x9F" "e.h", "class Gr\xC3\xB6\xC3\x9F" "e {\npublic:\n  int wert;\n};\n");
  f.source("main.cpp", "#include \"\xC3\x9C" "ber/gr\xC3\xB6\xC3\x9F" "e.h\"\n");
  f.run.currentDirectory = f.dir.path();
  SourceFileConverter converter(f.context);
  convertFolder(converter, "src");

  // The trees show the names as written, and their "#Größe" meets the UTF-8 page's anchor.
  for (const char* tree : {"out/src_HTML/SourceTree.htm", "out/src_HTML/ClassTree.htm"}) {
    const std::string text = f.dir.read(tree);
    EXPECT_NE(text.find("charset=\"utf-8\""), std::string::npos) << tree;
    EXPECT_EQ(text.find("windows-1252"), std::string::npos) << tree;
  }
  EXPECT_NE(f.dir.read("out/src_HTML/ClassTree.htm").find("#Gr\xC3\xB6\xC3\x9F" "e\""), std::string::npos);
  const std::string index = f.dir.read("out/src_HTML/SearchIndex.js");
  EXPECT_NE(index.find("\"Gr\\u00F6\\u00DFe\""), std::string::npos);
  EXPECT_NE(index.find("\"\\u00DCber\""), std::string::npos);

  // One name of another 8-bit text keeps the trees as they were.
  WorkspaceFixture g;
  declareWindows1252(g);
  g.source("gr\xC3\xB6\xC3\x9F" "e.h", "int a;\n");
  g.source("caf\xE9.h", "int b;\n");
  g.run.currentDirectory = g.dir.path();
  SourceFileConverter mixed(g.context);
  convertFolder(mixed, "src");
  EXPECT_NE(g.dir.read("out/src_HTML/SourceTree.htm").find("windows-1252"), std::string::npos);
  EXPECT_NE(g.dir.read("out/src_HTML/SearchIndex.js").find("\"caf\\u00E9.h\""), std::string::npos);

  // Trees that load their nodes decide so from the names before their scripts are written,
  // whose strings then hold the characters of UTF-8.
  WorkspaceFixture lazy;
  declareWindows1252(lazy);
  lazy.settings.trees = TreeForm::Lazy;
  lazy.source("\xC3\x9C" "ber/gr\xC3\xB6\xC3\x9F" "e.h", "class Gr\xC3\xB6\xC3\x9F" "e {\npublic:\n  int wert;\n};\n");
  lazy.run.currentDirectory = lazy.dir.path();
  SourceFileConverter onDemand(lazy.context);
  convertFolder(onDemand, "src");
  EXPECT_NE(lazy.dir.read("out/src_HTML/ClassTree.htm").find("charset=\"utf-8\""), std::string::npos);
  EXPECT_NE(lazy.dir.read("out/src_HTML/SourceTree.htm").find("charset=\"utf-8\""), std::string::npos);
  EXPECT_NE(lazy.dir.read("out/src_HTML/trees/c0.js").find("#Gr\\u00F6\\u00DFe\\\""), std::string::npos);
  EXPECT_NE(lazy.dir.read("out/src_HTML/trees/s0.js").find("gr\\u00F6\\u00DFe.h"), std::string::npos);
#endif
}
