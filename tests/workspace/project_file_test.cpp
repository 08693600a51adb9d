// Project files: names, listed paths by the delimiter rule, the three lists, and the
// lines that cannot be parsed.
#include "workspace/project_file.h"

#include <gtest/gtest.h>

#include "tests/workspace/workspace_fixture.h"
#include "workspace/project_model.h"

using namespace quillon;
using namespace testing_support;

namespace {

ProjectModel parse(const std::string& text, std::string* failure = nullptr) {
  ProjectModel project;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string message = readProjectLine(project, text.substr(start, end - start));
    if (!message.empty() && failure) *failure = message;
    start = end + 1;
  }
  return project;
}

using List = std::vector<std::string>;

}  // namespace

TEST(ProjectLines, VcprojNamesTheProjectOnceAndListsItsFiles) {
  ProjectModel p = parse(
      "<VisualStudioProject\n\tName=\"Calc\"\n\tRootNamespace=\"Calc\"\n"
      "\t\t<Configuration\n\t\t\tName=\"Debug|Win32\"\n"
      "\t\t<Filter\n\t\t\tName=\"Source Files\"\n"
      "\t\t\t\tRelativePath=\".\\calc.cpp\"\n\t\t\t\t>\n"
      "\t\t\t<File RelativePath=\".\\calc.h\"></File>\n"
      "\t\t\t<File RelativePath=\".\\calc.ico\" />\n"
      "\t\t\t\tRelativePath=\"..\\common\\util.cpp\">\n"
      "\t\t\t\tRelativePath=\".\\Source Files\\more.cpp\">\n"
      "\t\t\t\tRelativePath=\"\">\n"
      "\t\t\t<File RelativePath=\"GUI\\DpiHelper.cpp\" Other=\"x.cpp\"></File>\n"
      "\t\t\t<File RelativePath = 'R&amp;D\\res\\logo.bmp'/>\n");
  EXPECT_EQ(p.displayName, "Calc");
  EXPECT_EQ(p.indexName, "Calc_Project");
  // Every path keeps its folders, and ends at its own closing quote.
  EXPECT_EQ(p.sourceFiles, (List{"calc.cpp", "..\\common\\util.cpp", "Source Files\\more.cpp",
                                 "GUI\\DpiHelper.cpp"}));
  EXPECT_EQ(p.headerFiles, List{"calc.h"});
  EXPECT_EQ(p.resourceFiles, (List{"calc.ico", "R&D\\res\\logo.bmp"}));

  // A line with both keys, read while the name is empty, only names the project, by the
  // value of its own attribute.
  ProjectModel both = parse("<File RelativePath=\".\\x.cpp\" Name=\"X\">\n");
  EXPECT_EQ(both.displayName, "X");
  EXPECT_TRUE(both.sourceFiles.empty());
}

TEST(ProjectLines, DspPathsLoseTheirDotPrefixAndClosingQuote) {
  ProjectModel p = parse(
      "# Microsoft Developer Studio Project File - Name=\"Calc\" - Package Owner=<4>\n"
      "# Begin Group \"Source Files\"\nSOURCE=.\\calc.cpp\nSOURCE=.\\Calc.H\n"
      "SOURCE=\"..\\shared\\util.cpp\"\nSOURCE=\".\\Header Files\\io.h\"\n"
      "SOURCE=.\\res\\logo.bmp\nsource=.\\ignored.cpp\n");
  EXPECT_EQ(p.displayName, "Calc");
  EXPECT_EQ(p.sourceFiles, (List{"calc.cpp", "..\\shared\\util.cpp"}));
  EXPECT_EQ(p.headerFiles, (List{"Calc.H", "Header Files\\io.h"}));
  EXPECT_EQ(p.resourceFiles, List{"res\\logo.bmp"});

  std::string failure;
  parse("# SOURCE=..\\src\\main.cpp\n", &failure);
  EXPECT_EQ(failure, "Unable to parse source files from project");
  failure.clear();
  parse("\tRelativePath=..\\src\\main.cpp>\n", &failure);
  EXPECT_EQ(failure, "Unable to parse source files from project");
}

TEST(ProjectLines, MsbuildItemsAndRootNamespace) {
  ProjectModel p = parse(
      "<Project>\n<RootNamespace>First</RootNamespace>\n<RootNamespace>Calc</RootNamespace>\n"
      "<AssemblyName Name=\"Other\">\n<Compile Include=\"Form1.cs\">\n"
      "<Compile Include=\"Properties\\Settings.Designer.cs\" />\n"
      "<Compile Include=\"..\\Shared\\Util.cs\" Link=\"Util.cs\" />\n<Compile Include=Bare.cs />\n"
      "<RootNamespace>\n<EmbeddedResource Include=\"Form1.resx\" />\n"
      "<Compile Include=\"notes.TXT\" />\n<Compile Include=\"logo.JPG\" />\n"
      "<Compile Include=\"app.rc\" />\n");
  EXPECT_EQ(p.displayName, "Calc");
  EXPECT_EQ(p.indexName, "Calc_Project");
  EXPECT_EQ(p.sourceFiles,
            (List{"Form1.cs", "Properties\\Settings.Designer.cs", "..\\Shared\\Util.cs",
                  "notes.TXT"}));
  EXPECT_EQ(p.resourceFiles, (List{"logo.JPG", "app.rc"}));

  EXPECT_EQ(parse("<Project>\n<Compile Include=\"a.cs\" />\n").displayName, "");
  std::string failure;
  parse("<Compile Include=\"..\\a.cs />\n", &failure);
  EXPECT_EQ(failure, "Unable to parse source files from project file");
}

TEST(ProjectFile, ParseFailureShowsItsMessageAndMakesNoWorkspace) {
  WorkspaceFixture f;
  f.source("Bad.dsp", "# Name=\"Bad\"\r\nSOURCE=.\\a.cpp\r\n# SOURCE=..\\b.cpp\r\n");
  f.source("Bad.csproj", "<Compile Include=\"..\\x.cs/>\n");
  f.project("Bad.dsp");
  f.project("Bad.csproj");
  f.project("Missing.vcproj");
  std::vector<std::string> messages;
  for (const scripted::Event& e : scripted::events())
    if (e.kind == "message" || e.kind == "problem") messages.push_back(e.text);
  EXPECT_EQ(messages, (List{"Error: Unable to parse source files from project",
                            "Error: Unable to parse source files from project file",
                            "<Missing.vcproj can't be read>"}));
  EXPECT_FALSE(platform::directoryExists(platform::joinPath(f.out, "Bad_HTML")));
  EXPECT_FALSE(platform::directoryExists(platform::joinPath(f.out, "Missing_HTML")));
  EXPECT_EQ(f.run.convertedFileCount, 0);
}
