// Whole workspaces: every file's bytes against golden copies, and the runs' edge cases
// (second run, stop, names, no files, folders that cannot be made).
#include "workspace/workspace.h"

#include <gtest/gtest.h>

#include "app/runs.h"
#include "tests/workspace/golden_tree.h"
#include "tests/workspace/workspace_fixture.h"

using namespace quillon;
using namespace testing_support;

namespace {

using List = std::vector<std::string>;

const char* const calcVcproj =
    "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\r\n<VisualStudioProject\r\n"
    "\tProjectType=\"Visual C++\"\r\n\tName=\"Calc\"\r\n\t>\r\n\t<Configurations>\r\n"
    "\t\t<Configuration\r\n\t\t\tName=\"Debug|Win32\"\r\n\t\t\t>\r\n\t</Configurations>\r\n"
    "\t<Files>\r\n\t\t<Filter\r\n\t\t\tName=\"Source Files\"\r\n\t\t\t>\r\n"
    "\t\t\t<File\r\n\t\t\t\tRelativePath=\".\\calc.cpp\"\r\n\t\t\t\t>\r\n\t\t\t</File>\r\n"
    "\t\t\t<File\r\n\t\t\t\tRelativePath=\".\\main.cpp\">\r\n\t\t\t</File>\r\n\t\t</Filter>\r\n"
    "\t\t<Filter\r\n\t\t\tName=\"Header Files\"\r\n\t\t\t>\r\n"
    "\t\t\t<File RelativePath=\".\\calc.h\"></File>\r\n\t\t</Filter>\r\n"
    "\t\t\t<File RelativePath=\".\\calc.ico\"></File>\r\n\t</Files>\r\n</VisualStudioProject>\r\n";

std::string vcproj(const std::string& name, const List& files) {
  std::string text = name.empty() ? "<VisualStudioProject>\n" : "\tName=\"" + name + "\"\n";
  for (const std::string& file : files) text += "\t\t\t\tRelativePath=\"" + file + "\">\n";
  return text;
}

void writeCalcSources(WorkspaceFixture& f) {
  f.source("calc.cpp", calcCpp);
  f.source("main.cpp", mainCpp);
  f.source("calc.h", calcH);
  f.source("calc.ico", "icon bytes");
}

/// The source frame's address in an index page.
std::string sourceFrame(const std::string& index) {
  size_t at = index.find("name=\"source_frame\" src=\"") + 25;
  return index.substr(at, index.find('"', at) - at);
}

}  // namespace

TEST(ProjectWorkspace, CalcVcprojGivesTheWholeWorkspace) {
  WorkspaceFixture f;
  writeCalcSources(f);
  f.source("Calc.vcproj", calcVcproj);
  f.project("Calc.vcproj");
  EXPECT_EQ(f.run.convertedFileCount, 4);  // three pages and the copied icon
  EXPECT_EQ(scripted::listLines(), (List{"Preprocessing class-tree data...",
                                         "Converting calc.cpp....", "Converting main.cpp....",
                                         "Converting calc.h...."}));
  EXPECT_EQ(f.output("Calc_Project.htm"),
            crlf("<HTML>\n<HEAD>\n<TITLE>Calc HTML Workspace</TITLE>\n</HEAD>\n\n"
                 "<FRAMESET cols=\"20%, 80%\">\n<FRAMESET rows=\"96, 4\">\n"
                 "\t<FRAME name=\"tree_frame\" src=\"Calc_HTML/SourceTree.htm\">\n"
                 "<FRAME name=\"project_tabs_frame\" src=\"Calc_HTML/Tabs.htm\" "
                 "frameborder=\"0\" scrolling=\"no\">\n</FRAMESET>\n<FRAMESET rows=\"32, *\">\n"
                 "<FRAME name=\"tab_frame\" src=\"Calc_HTML/FileTab.htm\" frameborder=\"0\">\n"
                 "<FRAME name=\"source_frame\" src=\"Calc_HTML\\calc.cpp.htm\" frameborder=\"0\">\n"
                 "</FRAMESET>\n</FRAMESET>\n</HTML>"));
  EXPECT_EQ(f.output("Calc_HTML/FileTab.htm"),
            "<html>\r\n<span class=\"theFile pg\">calc.cpp</span>\r\n</html>\r\n");
  EXPECT_TRUE(platform::directoryExists(platform::joinPath(f.out, "Calc_HTML/images")));
  EXPECT_EQ(f.run.lastOutputFileName, "Calc_Project.htm");
  EXPECT_EQ(f.settings.outputDirectory, f.out);
  EXPECT_EQ(f.run.currentDirectory, f.data);
  EXPECT_EQ(compareWithGoldenTree("workspace_vcproj", f.out), "");
}

TEST(ProjectWorkspace, WithLineNumbersMembersLinkToTheLinesTheirPagesNumber) {
  WorkspaceFixture f;
  f.settings.lineNumbers = true;
  writeCalcSources(f);
  // A byte-order mark, empty lines (which the class-tree reading skips) and a parameter
  // list over two lines: each member links to the line its text starts on.
  f.source("calc.h", "\xEF\xBB\xBF" "class Calc {\n\npublic:\n\tint add(int a,\n\t\tint b);\n\n"
                     "\tint memory;\n};\n");
  f.source("Calc.vcproj", calcVcproj);
  f.project("Calc.vcproj");
  const std::string tree = f.output("Calc_HTML/ClassTree.htm");
  EXPECT_NE(tree.find("HREF=\"calc.h.htm#Calc\""), std::string::npos);  // the node: its anchor
  EXPECT_NE(tree.find("<a HREF=\"calc.h.htm#L4\" target=\"source_frame\" "
                      "onClick=\"SendTabText('calc.h.htm');\" class=tree_citem>"
                      "add(int a,\t\tint b)</a>"),
            std::string::npos);
  EXPECT_NE(tree.find("HREF=\"calc.h.htm#L7\""), std::string::npos);
  const std::string page = f.output("Calc_HTML/calc.h.htm");
  const std::string indent = "&nbsp;&nbsp;&nbsp;&nbsp;<font color=\"#0000ff\">int</font>&nbsp;";
  EXPECT_NE(page.find("<nobr><a id=\"L4\" href=\"#L4\"></a>" + indent + "add("), std::string::npos);
  EXPECT_NE(page.find("<nobr><a id=\"L7\" href=\"#L7\"></a>" + indent + "memory;"),
            std::string::npos);
  EXPECT_EQ(compareWithGoldenTree("workspace_vcproj_lines", f.out), "");
}

TEST(ProjectWorkspace, DspWithBadListingsStillConvertsWhatItCan) {
  WorkspaceFixture f;
  writeCalcSources(f);
  f.dir.write("shared/util.cpp", "int util() { return 1; }\n");
  f.source("res/logo.bmp", "bitmap bytes");
  f.source("Calc.dsp",
           "# Microsoft Developer Studio Project File - Name=\"Calc\" - Package Owner=<4>\r\n"
           "# Begin Group \"Source Files\"\r\nSOURCE=.\\calc.cpp\r\nSOURCE=.\\calc.cpp\r\n"
           "SOURCE=\"..\\shared\\util.cpp\"\r\nSOURCE=.\\missing.cpp\r\n# End Group\r\n"
           "SOURCE=.\\Calc.H\r\nSOURCE=.\\res\\logo.bmp\r\nSOURCE=.\\gone.gif\r\n");
  f.source("Calc.H", calcH);
  f.project("Calc.dsp");
  EXPECT_EQ(f.run.convertedFileCount, 5);  // calc.cpp twice, util.cpp, Calc.H, logo.bmp
  EXPECT_EQ(f.output("Calc_HTML/Images/logo.bmp"), "bitmap bytes");
  List problems;
  for (const scripted::Event& e : scripted::events())
    if (e.kind == "problem") problems.push_back(e.text);
  EXPECT_EQ(problems, (List{"<missing.cpp can't be read>", "<gone.gif can't be read>"}));
  EXPECT_TRUE(f.exists("Calc_HTML/missing.cpp.htm"));  // its tree link still works
  EXPECT_EQ(compareWithGoldenTree("workspace_dsp", f.out), "");
}

TEST(ProjectWorkspace, CsprojNamedByItsRootNamespace) {
  WorkspaceFixture f;
  f.source("Form1.cs", "namespace Calc { public class Form1 { int total; } }\n");
  f.source("Form1.resx", "<root>\n</root>\n");
  f.source("Properties/AssemblyInfo.cs", "[assembly: AssemblyTitle(\"Calc\")]\n");
  f.source("Calc.csproj",
           "<Project>\n  <PropertyGroup>\n    <RootNamespace>Calc</RootNamespace>\n"
           "  </PropertyGroup>\n  <ItemGroup>\n    <Compile Include=\"Form1.cs\" />\n"
           "    <Compile Include=\"Properties\\AssemblyInfo.cs\" />\n"
           "    <Compile Include=\"Form1.resx\" />\n  </ItemGroup>\n</Project>\n");
  f.project("Calc.csproj");
  EXPECT_EQ(sourceFrame(f.output("Calc_Project.htm")), "Calc_HTML\\Form1.cs.htm");
  EXPECT_EQ(compareWithGoldenTree("workspace_csproj", f.out), "");
}

TEST(FileSetWorkspace, DroppedFilesBecomeProjectHtml) {
  WorkspaceFixture f;
  writeCalcSources(f);
  f.source("logo.bmp", "bitmap bytes");
  f.dir.write("other/extra.cpp", "class Extra {};\n");
  f.fileSet({"calc.cpp", "calc.h", "logo.bmp", "../other/extra.cpp"});
  EXPECT_EQ(f.run.convertedFileCount, 4);
  EXPECT_NE(f.output("Project_HTML/extra.cpp.htm").find("Extra"), std::string::npos);
  EXPECT_EQ(f.run.lastOutputFileName, "Source_Project.htm");
  EXPECT_EQ(compareWithGoldenTree("workspace_file_set", f.out), "");

  WorkspaceFixture headers;
  headers.fileSet({"a.h", "b.h"});
  EXPECT_EQ(sourceFrame(headers.output("Source_Project.htm")), "Project_HTML\\a.h.htm");

  WorkspaceFixture images;
  images.source("a.bmp", "a");
  images.source("b.png", "b");
  images.fileSet({"a.bmp", "b.png"});
  EXPECT_EQ(images.run.convertedFileCount, 2);
  EXPECT_EQ(sourceFrame(images.output("Source_Project.htm")), "Project_HTML\\Images\\a.bmp");
  EXPECT_NE(images.output("Project_HTML/FileTab.htm").find("pg\">a.bmp<"), std::string::npos);
}

TEST(ProjectWorkspace, SecondRunKeepsTabPagesAndImagesAndStampsTheTabAgain) {
  WorkspaceFixture f(true);
  writeCalcSources(f);
  f.source("Calc.vcproj", calcVcproj);
  f.project("Calc.vcproj");
  List images, folders;
  platform::listDirectory(platform::joinPath(f.out, "Calc_HTML/Images"), &images, &folders);
  EXPECT_EQ(images.size(), 28u);  // the program's 27 and calc.ico

  f.dir.write("data/Tabs.htm", "new tabs");
  f.dir.write("data/Images/T.gif", "new T");
  f.source("calc.cpp", "int changed;\n");
  f.run.convertedFileCount = 0;
  f.project("Calc.vcproj");
  EXPECT_EQ(f.run.convertedFileCount, 3);  // calc.ico is already there
  EXPECT_EQ(f.output("Calc_HTML/Tabs.htm"), "<html>tabs</html>\n");
  EXPECT_EQ(f.output("Calc_HTML/Images/T.gif"), "image T.gif");
  EXPECT_NE(f.output("Calc_HTML/FileTab.htm").find("pg\">calc.cppcalc.cpp</span>"),
            std::string::npos);
  EXPECT_NE(f.output("Calc_HTML/calc.cpp.htm").find("changed"), std::string::npos);
}

TEST(ProjectWorkspace, StopDuringSourcesStillWritesTreesAndIndex) {
  WorkspaceFixture f;
  writeCalcSources(f);
  f.source("Calc.vcproj", calcVcproj);
  scripted::onLine([&](const std::string& line) {
    if (line == "Converting calc.cpp....") f.run.stopRequested = true;
  });
  f.project("Calc.vcproj");
  EXPECT_TRUE(f.exists("Calc_HTML/calc.cpp.htm"));
  EXPECT_FALSE(f.exists("Calc_HTML/main.cpp.htm") || f.exists("Calc_HTML/calc.h.htm") ||
               f.exists("Calc_HTML/Images/calc.ico"));
  EXPECT_TRUE(f.exists("Calc_HTML/SourceTree.htm") && f.exists("Calc_HTML/ClassTree.htm") &&
              f.exists("Calc_HTML/Tabs.htm") && f.exists("Calc_Project.htm"));
  EXPECT_FALSE(f.run.stopRequested);

  // A Stop the user confirmed ends the run: later projects start no workspace.
  f.run.cancelled = true;
  f.run.stopRequested = true;
  f.source("Other.vcproj", vcproj("Other", {".\\calc.cpp"}));
  f.project("Other.vcproj");
  EXPECT_TRUE(f.run.stopRequested);
  EXPECT_FALSE(platform::directoryExists(platform::joinPath(f.out, "Other_HTML")));
}

TEST(ProjectWorkspace, NamesFromTheProjectFile) {
  WorkspaceFixture f;
  f.source("calc.cpp", calcCpp);
  f.source("My.App.vcproj", vcproj("Calc", {".\\calc.cpp"}));
  f.source("Nameless.vcproj", vcproj("", {".\\calc.cpp"}));
  f.source("Odd.vcproj", vcproj("Calc_HTML\\Source.htm", {".\\calc.cpp"}));
  f.source("Escape.vcproj", vcproj("..\\..\\x", {".\\calc.cpp"}));
  for (const char* name : {"My.App.vcproj", "Nameless.vcproj", "Odd.vcproj", "Escape.vcproj"})
    f.project(name);
  EXPECT_TRUE(f.exists("My.App_HTML/calc.cpp.htm"));
  EXPECT_NE(f.output("Calc_Project.htm").find("src=\"My.App_HTML/Tabs.htm\""), std::string::npos);
  EXPECT_NE(f.output(".htm").find("<TITLE> HTML Workspace</TITLE>"), std::string::npos);
  // The source frame gets its own address, whatever the name brought into the page.
  EXPECT_EQ(sourceFrame(f.output("Calc_HTML_Source.htm_Project.htm")), "Odd_HTML\\calc.cpp.htm");
  EXPECT_TRUE(f.exists(".._.._x_Project.htm"));
}

TEST(ProjectWorkspace, WithoutFilesTheSourceFrameShowsABlankPage) {
  WorkspaceFixture f;
  f.source("Empty.vcproj", vcproj("Empty", {}));
  f.source("Headers.vcproj", vcproj("Headers", {".\\calc.h", ".\\x.ico"}));
  f.project("Empty.vcproj");
  f.project("Headers.vcproj");
  EXPECT_EQ(sourceFrame(f.output("Empty_Project.htm")), "Empty_HTML\\Blank.htm");
  EXPECT_TRUE(f.exists("Empty_HTML/Blank.htm"));
  EXPECT_EQ(f.output("Empty_HTML/FileTab.htm"), "<html>\n<span class=\"theFile pg\"></span>\n</html>\n");
  EXPECT_EQ(sourceFrame(f.output("Headers_Project.htm")), "Headers_HTML\\calc.h.htm");
}

TEST(ProjectWorkspace, FolderThatCannotBeMadeIsReportedAndLaterInputsConvert) {
  WorkspaceFixture f;
  writeCalcSources(f);
  f.source("Calc.vcproj", calcVcproj);
  f.dir.write("blocked/A.vcproj", vcproj("A", {".\\a.cpp"}));
  f.dir.write("blocked/A_HTML", "a file where the folder belongs");
  f.settings.referenceLinksFile = f.dir.file("none.xml");
  droppedFilesRun(f.context, {f.dir.file("blocked/A.vcproj"), f.dir.file("src/Calc.vcproj")});
  const List lines = scripted::listLines();
  EXPECT_EQ(lines.front(), "<A_HTML can't be created>");
  EXPECT_EQ(f.dir.read("blocked/A_HTML"), "a file where the folder belongs");
  EXPECT_FALSE(platform::fileExists(f.dir.file("blocked/A_Project.htm")));
  EXPECT_TRUE(platform::fileExists(f.dir.file("src/Calc_Project.htm")));
  EXPECT_EQ(lines.back(), "Successfully converted files: 4");
}
