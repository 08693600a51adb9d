// Whole workspaces: every file's bytes against golden copies, and the runs' edge cases
// (second run, stop, names, no files, folders that cannot be made).
#include "workspace/workspace.h"

#include <gtest/gtest.h>

#include <cctype>

#include "app/runs.h"
#include "tests/workspace/golden_tree.h"
#include "tests/workspace/workspace_fixture.h"
#include "workspace/page_names.h"
#include "workspace/search_index.h"
#include "workspace/tree_lines.h"

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

/// The file a relative URL names: "./" dropped, percent escapes decoded.
std::string urlPath(std::string url) {
  if (url.rfind("./", 0) == 0) url.erase(0, 2);
  std::string path;
  for (size_t i = 0; i < url.size(); ++i) {
    if (url[i] == '%' && i + 2 < url.size()) {
      path += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      path += url[i];
    }
  }
  return path;
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

  // A class named like a line anchor ("L1") would lead to line 1, which a browser finds
  // before the class's anchor: its links lead to its own line instead.
  WorkspaceFixture g;
  g.settings.lineNumbers = true;
  g.source("a.h", "int a;\nint b;\nclass L1 {\n};\n");
  g.source("b.cpp", "L1 w;\n");
  g.fileSet({"a.h", "b.cpp"});
  EXPECT_NE(g.output("Project_HTML/ClassTree.htm").find("HREF=\"a.h.htm#L3\""), std::string::npos);
  EXPECT_NE(g.output("Project_HTML/b.cpp.htm").find("<a href=\"a.h.htm#L3\""), std::string::npos);
  EXPECT_NE(g.output("Project_HTML/SearchIndex.js").find("\"a.h.htm#L3\""), std::string::npos);
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
  // calc.cpp is listed twice but has one page; util.cpp, Calc.H, logo.bmp
  EXPECT_EQ(f.run.convertedFileCount, 4);
  EXPECT_EQ(f.output("Calc_HTML/Images/logo.bmp"), "bitmap bytes");
  EXPECT_EQ(problemLines(), (List{"<missing.cpp can't be read>", "<gone.gif can't be read>"}));
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

TEST(ProjectWorkspace, EveryFormatReadsListedFilesFromTheirFoldersLetterCaseAside) {
  // Each project lies in a folder of its own and lists files in subfolders of it, spelt
  // in other letter cases than the disk has them (as on Windows, where that does not
  // matter); every page holds its file's text and every image is copied.
  struct Case {
    const char* project;
    const char* text;
    List files;  ///< as the project lists them, relative to its folder
  };
  const std::vector<Case> cases = {
      {"vc7\\Seven.vcproj",
       "<VisualStudioProject\r\n\tName=\"Seven\"\r\n\t>\r\n\t<Files>\r\n"
       "\t\t<File\r\n\t\t\tRelativePath=\"GUI\\window.cpp\"\r\n\t\t\t>\r\n\t\t</File>\r\n"
       "\t\t<File\r\n\t\t\tRelativePath=\".\\Properties\\version.h\">\r\n\t\t</File>\r\n"
       "\t\t<File\r\n\t\t\tRelativePath=\"res\\logo.bmp\">\r\n\t\t</File>\r\n",
       {"GUI\\window.cpp", "Properties\\version.h", "res\\logo.bmp"}},
      {"vc6\\Six.dsp",
       "# Microsoft Developer Studio Project File - Name=\"Six\" - Package Owner=<4>\r\n"
       "SOURCE=GUI\\window.cpp\r\n# End Source File\r\nSOURCE=\".\\Properties\\version.h\"\r\n"
       "SOURCE=res\\logo.bmp\r\n",
       {"GUI\\window.cpp", "Properties\\version.h", "res\\logo.bmp"}},
      {"cs8\\Eight.csproj",
       "<Project DefaultTargets=\"Build\" ToolsVersion=\"4.0\">\r\n"
       "    <RootNamespace>Eight</RootNamespace>\r\n"
       "    <Compile Include=\"Properties\\AssemblyInfo.cs\" />\r\n"
       "    <Compile Include=\"GUI\\Form1.cs\">\r\n"
       "      <SubType>Form</SubType>\r\n    </Compile>\r\n"
       "    <Compile Include=\"..\\Shared\\Common.cs\" Link=\"Common.cs\" />\r\n",
       {"Properties\\AssemblyInfo.cs", "GUI\\Form1.cs", "..\\Shared\\Common.cs"}},
      {"vb7\\Net.vbproj",
       "<VisualStudioProject>\r\n    <VisualBasic>\r\n        <Build>\r\n            <Settings\r\n"
       "                AssemblyName = \"NetVb\"\r\n            >\r\n            </Settings>\r\n"
       "        </Build>\r\n        <Files>\r\n            <Include>\r\n"
       "                <File\r\n                    RelPath = \"GUI\\MainForm.vb\"\r\n"
       "                    SubType = \"Form\"\r\n                    BuildAction = \"Compile\"\r\n"
       "                />\r\n                <Folder RelPath = \"Forms\\\" />\r\n"
       "                <File\r\n                    RelPath = \"Forms\\Options.resx\"\r\n"
       "                    BuildAction = \"EmbeddedResource\"\r\n                />\r\n"
       "                <File RelPath = \"res\\logo.bmp\" BuildAction = \"Content\" />\r\n",
       {"GUI\\MainForm.vb", "Forms\\Options.resx", "res\\logo.bmp"}},
      {"js7\\Jay.vjsproj",
       "<VisualStudioProject>\r\n    <VJSHARP>\r\n        <Files>\r\n            <Include>\r\n"
       "                <File\r\n                    RelPath = \"Properties\\AssemblyInfo.jsl\"\r\n"
       "                    BuildAction = \"Compile\"\r\n                />\r\n"
       "                <File\r\n                    RelPath = \"GUI\\Main.jsl\"\r\n"
       "                    BuildAction = \"Compile\"\r\n                />\r\n",
       {"Properties\\AssemblyInfo.jsl", "GUI\\Main.jsl"}},
      {"cpp\\Ten.vcxproj",
       "<Project DefaultTargets=\"Build\">\r\n  <ItemGroup>\r\n"
       "    <ClCompile Include=\"GUI\\window.cpp\" />\r\n"
       "    <ClInclude Include=\"$(ProjectDir)Properties\\version.h\" />\r\n"
       "    <Image Include=\"res\\logo.bmp\" />\r\n",
       {"GUI\\window.cpp", "Properties\\version.h", "res\\logo.bmp"}},
      {"sdk\\Sdk.csproj", "<Project Sdk=\"Microsoft.NET.Sdk\">\r\n</Project>\r\n",
       {"GUI\\Form1.cs", "Properties\\AssemblyInfo.cs"}},
  };
  WorkspaceFixture f;
  int made = 0;
  for (const Case& c : cases) {
    const std::string folder = directoryOf(c.project);
    f.source(folder + "/" + baseName(c.project), c.text);
    for (const std::string& file : c.files) {
      const bool parent = file.rfind("..\\", 0) == 0;
      std::string path = parent ? file.substr(3) : file;
      for (char& ch : path) {
        if (ch == '\\') ch = '/';
        // An SDK-style project lists what its folder holds, as it holds it.
        if (folder != "sdk" && std::isalpha(static_cast<unsigned char>(ch)))
          ch = static_cast<char>(std::isupper(static_cast<unsigned char>(ch)) ? std::tolower(ch) : std::toupper(ch));
      }
      if (!parent) path = folder + "/" + path;
      f.source(path, "int marker" + std::to_string(made++) + ";\n");
    }
  }
  made = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.project);
    f.project(c.project);
    const std::string workspace = projectFolderName(c.project) + "/";
    for (const std::string& file : c.files) {
      const std::string marker = "marker" + std::to_string(made++);
      if (isImageResource(file)) {
        EXPECT_EQ(f.output(workspace + "Images/" + baseName(file)), "int " + marker + ";\n");
      } else {
        EXPECT_NE(f.output(workspace + baseName(file) + ".htm").find(marker), std::string::npos)
            << file;
      }
    }
  }
  EXPECT_EQ(problemLines(), List{});
  EXPECT_TRUE(f.exists("NetVb_Project.htm"));  // named by its AssemblyName
  EXPECT_TRUE(f.exists("Jay_Project.htm"));    // named by its file
  // The tree and the tab keep the project's spelling, and the classes are gathered.
  EXPECT_NE(f.output("Seven_HTML/SourceTree.htm").find("SendTabText('window.cpp');\" class=tree_citem>window.cpp<"),
            std::string::npos);

  // The file as written wins; of names that differ only in letter case the first in
  // bytewise order is taken, which is said once, as a note and not a problem.
  scripted::reset();
  f.source("pick/Util.h", "class Upper {};\n");
  f.source("pick/util.h", "class Lower {};\n");
  if (f.dir.read("src/pick/Util.h") == f.dir.read("src/pick/util.h")) return;  // one file here
  f.source("pick/Exact.h", "class Other {};\n");
  f.source("pick/exact.h", "class Exact {};\n");
  f.source("pick/Pick.vcxproj", "<ClInclude Include=\"UTIL.H\" /><ClInclude Include=\"exact.h\" />\n"
                                "<ClInclude Include=\".\\util.H\" />\n");
  f.project("pick\\Pick.vcxproj");
  EXPECT_EQ(problemLines(), List{});
  List notes;
  for (const scripted::Event& e : scripted::events())
    if (e.kind == "warning") notes.push_back(e.text);
  EXPECT_EQ(notes, (List{"note: <UTIL.H: of Util.h, util.h, which differ only in letter case, Util.h is taken>"}));
  EXPECT_NE(f.output("Pick_HTML/UTIL.H.htm").find("Upper"), std::string::npos);
  EXPECT_NE(f.output("Pick_HTML/exact.h.htm").find("Exact"), std::string::npos);
  EXPECT_NE(f.output("Pick_HTML/ClassTree.htm").find("Upper"), std::string::npos);
  EXPECT_EQ(f.output("Pick_HTML/ClassTree.htm").find("Lower"), std::string::npos);
}

TEST(FileSetWorkspace, CrossReferencesOfTheFourLanguagesAsGolden) {
  WorkspaceFixture f;
  f.settings.crossReferences = true;
  f.source("shapes.h",
           "#pragma once\n#define SQUARE(x) ((x) * (x))\nnamespace geo {\n"
           "enum class Unit { Metre, Foot };\nstruct Point { int x, y; };\n"
           "class Shape {\n public:\n  virtual ~Shape() {}\n  virtual int area() const = 0;\n};\n"
           "class Square : public Shape {\n public:\n  explicit Square(int side) : side_(side) {}\n"
           "  int area() const override { return SQUARE(side_); }\n private:\n  int side_;\n};\n"
           "typedef Square Tile;\nint total(const Shape* shapes[], int count);\n}  // namespace geo\n");
  f.source("shapes.cpp",
           "#include \"shapes.h\"\nnamespace geo {\nstatic int counted = 0;\n"
           "int total(const Shape* shapes[], int count) {\n  int sum = 0;\n"
           "  for (int i = 0; i < count; ++i) sum += shapes[i]->area();\n"
           "  counted += count;\n  return sum;\n}\n}  // namespace geo\n"
           "int main() {\n  geo::Tile tile(3);\n  const geo::Shape* all[] = {&tile};\n"
           "  geo::Point p = {1, 2};\n  return geo::total(all, 1) + p.x;\n}\n");
  f.source("Shapes.cs",
           "namespace Geometry\n{\n    public interface IShape { double Area { get; } }\n"
           "    public record Circle(double Radius) : IShape\n    {\n"
           "        public const double Pi = 3.14159;\n"
           "        public double Area => Pi * Radius * Radius;\n    }\n"
           "    public static class Report\n    {\n        public static event System.Action Printed;\n"
           "        public static string Describe(IShape shape)\n        {\n"
           "            var text = \"area \" + shape.Area;\n            Printed?.Invoke();\n"
           "            return text;\n        }\n    }\n}\n");
  f.source("Rectangle.java",
           "package geometry;\n\npublic class Rectangle {\n    enum Side { WIDTH, HEIGHT }\n"
           "    private final int width, height;\n"
           "    public Rectangle(int width, int height) { this.width = width; this.height = height; }\n"
           "    public int area() { return width * height; }\n"
           "    public int side(Side which) { return which == Side.WIDTH ? width : height; }\n"
           "    public static void main(String[] args) {\n        Rectangle r = new Rectangle(2, 3);\n"
           "        System.out.println(r.area() + r.side(Side.HEIGHT));\n    }\n}\n");
  f.source("Shapes.vb",
           "Namespace Geometry\n    Public Module Sizes\n        Public Const Scale As Integer = 2\n"
           "        Public Function Doubled(ByVal value As Integer) As Integer\n"
           "            Dim result As Integer = value * SCALE\n            Return result\n"
           "        End Function\n    End Module\n\n    Public Class Triangle\n"
           "        Public Property Base As Integer\n        Public Event Changed()\n"
           "        Public Sub Grow()\n            Base = doubled(Base) _\n                + 1\n"
           "            RaiseEvent Changed()\n        End Sub\n    End Class\nEnd Namespace\n");
  f.fileSet({"shapes.h", "shapes.cpp", "Shapes.cs", "Rectangle.java", "Shapes.vb"});
  EXPECT_EQ(f.run.convertedFileCount, 5);
  EXPECT_EQ(problemLines(), List{});
  EXPECT_EQ(compareWithGoldenTree("workspace_xref", f.out), "");
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

TEST(ProjectWorkspace, SecondRunGivesWhatAFreshRunGives) {
  WorkspaceFixture f(true);
  writeCalcSources(f);
  f.source("Calc.vcproj", calcVcproj);
  f.project("Calc.vcproj");
  List images, folders;
  platform::listDirectory(platform::joinPath(f.out, "Calc_HTML/Images"), &images, &folders);
  EXPECT_EQ(images.size(), 28u);  // the program's 27 and calc.ico
  const std::string fileTab = f.output("Calc_HTML/FileTab.htm");

  f.dir.write("data/Tabs.htm", "new tabs");
  f.dir.write("data/Images/T.gif", "new T");
  f.source("calc.cpp", "int changed;\n");
  f.source("calc.ico", "a new icon");
  f.run.convertedFileCount = 0;
  f.project("Calc.vcproj");
  EXPECT_EQ(f.run.convertedFileCount, 4);
  EXPECT_EQ(f.output("Calc_HTML/Tabs.htm"), "new tabs");
  EXPECT_EQ(f.output("Calc_HTML/Images/T.gif"), "new T");
  EXPECT_EQ(f.output("Calc_HTML/Images/calc.ico"), "a new icon");
  EXPECT_EQ(f.output("Calc_HTML/FileTab.htm"), fileTab);  // stamped once
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
  // A project that names itself nowhere is named after its file.
  EXPECT_NE(f.output("Nameless_Project.htm").find("<TITLE>Nameless HTML Workspace</TITLE>"),
            std::string::npos);
  EXPECT_FALSE(f.exists(".htm"));
  // The source frame gets its own address, whatever the name brought into the page.
  EXPECT_EQ(sourceFrame(f.output("Calc_HTML_Source.htm_Project.htm")), "Odd_HTML\\calc.cpp.htm");
  EXPECT_TRUE(f.exists("___.._x_Project.htm"));  // not hidden: no page name begins with "."
}

TEST(ProjectWorkspace, SameNamedFilesEachHaveTheirPageAndIncludesLeadToPagesThatExist) {
  WorkspaceFixture f;
  f.source("Forms/Main.cpp", "#include \"Shared.h\"\nclass Form {};\n");
  f.source("Legacy/Main.cpp", "#include \"Shared.h\"\nclass OldForm {};\n");
  f.source("Forms/Shared.h", "struct FormShared { int a; };\n");
  f.source("Legacy/Shared.h", "struct OldShared { int b; };\n");
  f.source("inc/max.h", "#define MAX 1\n");
  f.source("local.h", "// beside unity.cpp, but not in the project\n");
  f.source("unity.cpp",
           "#include \"stdafx.h\"\n#include <windows.h>\n#include \"Forms\\Main.cpp\"\n"
           "#include \"..\\src\\Legacy\\Main.cpp\"\n#include \"MAX.H\"\n#include \"local.h\"\n");
  f.source("doc/Tabs", "a file named like a page of the workspace\n");
  f.source("res/logo.bmp", "first");
  f.source("art/logo.bmp", "second");
  std::string items;
  for (const char* item : {"ClCompile Include=\"unity.cpp\"", "ClCompile Include=\"Forms\\Main.cpp\"",
                           "ClCompile Include=\"Legacy\\Main.cpp\"", "ClInclude Include=\"Forms\\Shared.h\"",
                           "ClInclude Include=\"Legacy\\Shared.h\"", "ClInclude Include=\"inc\\max.h\"",
                           "ClCompile Include=\".\\Forms\\Main.cpp\"", "None Include=\"doc\\Tabs\"",
                           "Image Include=\"res\\logo.bmp\"", "Image Include=\"art\\logo.bmp\""})
    items += std::string("    <") + item + " />\n";
  f.source("App.vcxproj", "<Project>\n  <ItemGroup>\n" + items + "  </ItemGroup>\n</Project>\n");
  f.project("App.vcxproj");

  // Each file its own page, the same file listed twice once; the count counts pages.
  EXPECT_EQ(f.run.convertedFileCount, 9);
  EXPECT_NE(f.output("App_HTML/Main.cpp.htm").find("Form"), std::string::npos);
  EXPECT_NE(f.output("App_HTML/Legacy~Main.cpp.htm").find("OldForm"), std::string::npos);
  EXPECT_NE(f.output("App_HTML/Legacy~Shared.h.htm").find("OldShared"), std::string::npos);
  EXPECT_NE(f.output("App_HTML/Tabs~2.htm").find("named"), std::string::npos);  // not the tab page
  EXPECT_EQ(f.output("App_HTML/Tabs.htm"), "<html>tabs</html>\n");
  EXPECT_EQ(f.output("App_HTML/Images/logo.bmp"), "first");
  EXPECT_EQ(f.output("App_HTML/Images/art~logo.bmp"), "second");
  // Includes: beside the including file first, then any listed file of the name, letter
  // case aside; a file without a page in the workspace is not linked.
  EXPECT_NE(f.output("App_HTML/Legacy~Main.cpp.htm").find("<a href=\"Legacy~Shared.h.htm\">Shared.h</a>"),
            std::string::npos);
  EXPECT_NE(f.output("App_HTML/Main.cpp.htm").find("<a href=\"Shared.h.htm\">Shared.h</a>"),
            std::string::npos);
  const std::string unity = f.output("App_HTML/unity.cpp.htm");
  EXPECT_NE(unity.find("\"<a href=\"Main.cpp.htm\">Forms\\Main.cpp</a>\""), std::string::npos);
  EXPECT_NE(unity.find("<a href=\"Legacy~Main.cpp.htm\">..\\src\\Legacy\\Main.cpp</a>"),
            std::string::npos);
  EXPECT_NE(unity.find("<a href=\"max.h.htm\">MAX.H</a>"), std::string::npos);
  for (const char* unlinked : {"\"stdafx.h\"", "\"local.h\""})
    EXPECT_NE(unity.find(unlinked), std::string::npos) << unlinked;
  // The trees tell the files apart and open the right page.
  const std::string tree = f.output("App_HTML/SourceTree.htm");
  EXPECT_NE(tree.find("HREF=\"Legacy~Main.cpp.htm\" target=\"source_frame\" "
                      "onClick=\"SendTabText('Legacy\\\\Main.cpp');\" class=tree_citem>Legacy\\Main.cpp<"),
            std::string::npos);
  EXPECT_NE(tree.find("HREF=\"Images/art~logo.bmp\""), std::string::npos);
  EXPECT_NE(f.output("App_HTML/ClassTree.htm").find("HREF=\"Legacy~Main.cpp.htm#OldForm\""),
            std::string::npos);
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

TEST(SeparatePages, NamesApartKeepTheirOwnAndAlikeOnesCarryTheirFolders) {
  using Names = std::vector<std::string>;
  // The usual list, no two names alike: each page is named after its file alone (a
  // hidden name's leading dots made "_").
  EXPECT_EQ(separatePageNames({"src/a.cpp", "inc/.hidden.h", "B.H"}),
            (Names{"a.cpp.htm", "_hidden.h.htm", "B.H.htm"}));
  // Names alike, letter case aside, or one file listed twice: the first keeps its name, a
  // later one carries its folder, and the file listed again has its first page.
  EXPECT_EQ(separatePageNames({"src/b.h", "inc/B.h", "./src/b.h"}),
            (Names{"b.h.htm", "inc~B.h.htm", "b.h.htm"}));
  EXPECT_EQ(separatePageNames({"a/x.h", "b/.x.h", "b/_x.h"}),
            (Names{"x.h.htm", "_x.h.htm", "b~_x.h.htm"}));
  // A workspace's listed files: names apart keep their own, images their ending; a name
  // that a workspace takes itself, or one alike another, gives way.
  auto pages = [](Names sources, Names resources) {
    ProjectModel project;
    project.sourceFiles = std::move(sources);
    project.resourceFiles = std::move(resources);
    nameListedFiles(project);
    Names named;
    for (const Names* list : {&project.sourceFiles, &project.resourceFiles})
      for (const std::string& entry : *list)
        named.push_back(project.listedNames[entry].page + "|" + project.listedNames[entry].shown);
    return named;
  };
  EXPECT_EQ(pages({"src\\a.cpp", ".\\.h.h"}, {"res\\Logo.BMP"}),
            (Names{"a.cpp.htm|a.cpp", "_h.h.htm|.h.h", "Logo.BMP|Logo.BMP"}));
  EXPECT_EQ(pages({"x\\SourceTree", "b.cpp"}, {"img\\foldericon.gif"}),
            (Names{"SourceTree~2.htm|SourceTree", "b.cpp.htm|b.cpp", "foldericon~2.gif|foldericon.gif"}));
  EXPECT_EQ(pages({"a\\b.h", "c\\B.h"}, {}), (Names{"b.h.htm|a\\b.h", "c~B.h.htm|c\\B.h"}));
}

TEST(ProjectWorkspace, SearchIndexWritesEveryNameInAsciiThatNoNameCanLeave) {
  ProjectModel project;
  project.sourceFiles = {"src\\caf\xC3\xA9.cpp", "javascript&colon;x.cpp", "src\\caf\xC3\xA9.cpp"};
  project.resourceFiles = {"logo.bmp", "gone.png"};
  nameListedFiles(project);
  project.listedNames["gone.png"].missing = true;
  ClassModel model;
  model.structRecords.push_back({"Quote\"Back\\slash", "a b.h.htm#Quote\"Back\\slash", "a b.h.htm", {}});
  MemberRecord member{"say(\"</script>\t\x80\x81\xE9\xE2\x80\xA8\x7F\")", "functionicon_private.gif",
                      true, false};
  model.structRecords[0].members.push_back(member);
  const std::string index = searchIndexText(project, model);

  // Every byte is printable ASCII (or a line end), and nothing in it can close a script
  // element or end a line inside a string: the names are escaped, and each byte beyond
  // ASCII stands for its windows-1252 character, as the tree pages show it.
  for (char c : index)
    ASSERT_TRUE((c >= 0x20 && c < 0x7F) || c == '\n') << static_cast<int>(static_cast<unsigned char>(c));
  EXPECT_EQ(index.find("</"), std::string::npos);
  // (The page's address is the UTF-8 form of its name, which the system decides.)
  EXPECT_NE(index.find("\"files\": [\n[\"caf\\u00C3\\u00A9.cpp\",\"caf%"), std::string::npos);
  EXPECT_NE(index.find(".cpp.htm\",\"caf\\u00C3\\u00A9.cpp\",\"\"],\n[\"javascript&colon;x.cpp\",\""),
            std::string::npos);
  // A target is a URL, not attribute text: it names the file itself, "&" and all.
  const size_t target = index.find("[\"javascript&colon;x.cpp\",\"") + 27;
  EXPECT_EQ(urlPath(index.substr(target, index.find('"', target) - target)), "javascript&colon;x.cpp.htm");
  EXPECT_NE(index.find(".cpp.htm\",\"javascript&colon;x.cpp\",\"\"],\n"
                       "[\"logo.bmp\",\"Images/logo.bmp\",\"logo.bmp\",\"\"],\n"
                       "[\"gone.png\",\"Blank.htm\",\"gone.png\",\"\"]\n],\n"),
            std::string::npos);
  EXPECT_NE(index.find("\"records\": [\n[1,\"Quote\\\"Back\\\\slash\","
                       "\"a b.h.htm#Quote%22Back\\\\slash\",\"a b.h.htm\"]\n],\n"),
            std::string::npos);
  // A member that leads where its record does is written without a target of its own.
  EXPECT_NE(index.find("\"members\": [\n[0,\"say(\\\"\\x3C/script\\x3E\\x09\\u20AC\\u0081\\u00E9"
                       "\\u00E2\\u20AC\\u00A8\\x7F\\\")\",1]\n]\n});\n"),
            std::string::npos);
  // With line numbers a member with a known line leads to it, as its class tree item does.
  model.structRecords[0].members[0].line = 12;
  EXPECT_NE(searchIndexText(project, model, true).find(",1,\"a b.h.htm#L12\"]\n]\n});\n"),
            std::string::npos);

  // Every workspace carries its index; one that cannot be written is reported.
  WorkspaceFixture f;
  writeCalcSources(f);
  f.source("Calc.vcproj", calcVcproj);
  f.dir.mkdir("out/Calc_HTML/SearchIndex.js");
  f.project("Calc.vcproj");
  EXPECT_EQ(problemLines(), (List{"<SearchIndex.js can't be written>"}));
  EXPECT_TRUE(f.exists("Calc_Project.htm"));
}
