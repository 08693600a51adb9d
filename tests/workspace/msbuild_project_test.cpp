// MSBuild projects: items and names of .vcxproj lines, SDK-style detection, the implicit
// sources of an SDK-style project, and item patterns.
#include "workspace/msbuild_project.h"

#include <gtest/gtest.h>

#include "tests/workspace/workspace_fixture.h"
#include "workspace/item_patterns.h"
#include "workspace/project_file.h"

using namespace quillon;
using namespace testing_support;

namespace {

using List = std::vector<std::string>;

MsbuildProject read(const std::string& text, MsbuildFormat format = MsbuildFormat::Vcxproj) {
  MsbuildProject project;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    readMsbuildLine(project, std::string_view(text).substr(start, end - start), format);
    start = end + 1;
  }
  return project;
}

List values(const MsbuildProject& project) {
  List out;
  for (const MsbuildItem& item : project.items) out.push_back((item.remove ? "-" : "") + item.value);
  return out;
}

List listed(const MsbuildProject& project, MsbuildFormat format, const std::string& dir = "") {
  return msbuildListedFiles(project, format, dir, nullptr);
}

}  // namespace

TEST(VcxprojLines, TakeTheQuotedIncludeOfEachFileItem) {
  MsbuildProject p = read(
      "<ProjectConfiguration Include=\"Debug|x64\">\n"
      "    <ClCompile Include=\"calc.cpp\" />\n"
      "    <ClCompile Include=\"main.cpp\">\n"
      "      <PrecompiledHeader>Create</PrecompiledHeader>\n"
      "    </ClCompile>\n"
      "    <ClCompile>\n      <WarningLevel>Level3</WarningLevel>\n    </ClCompile>\n"
      "    <ClInclude Include=\"..\\include\\calc.h\" /><ClInclude Include='quoted \"x\".h' />\n"
      "    <ResourceCompile Include=\"$(ProjectDir)Calc.rc\" />\n"
      "    <Image Condition=\"'$(A)'>'1'\" Include=\"res\\calc.ico\" />\n"
      "    <None Include=\"ReadMe.txt;packages.config\" /><Text Include=\"R&amp;D.txt\"/>\n"
      "    <ClCompileX Include=\"no.cpp\" /><ProjectReference Include=\"..\\Lib\\Lib.vcxproj\" />\n"
      "    <Filter Include=\"Source Files\" /><CustomBuild Include=\"x.idl\" />\n"
      "    <ClCompile\n      Include=\"split.cpp\"\n    />\n"
      "    <!-- <ClCompile Include=\"old.cpp\" /> -->\n"
      "    <!--\n    <ClCompile Include=\"older.cpp\" />\n    --><ClCompile Include=\"after.cpp\" />\n"
      "    <ClCompile Include=\"calc.cpp\" />\n");
  EXPECT_EQ(values(p), (List{"calc.cpp", "main.cpp", "..\\include\\calc.h", "quoted \"x\".h",
                             "$(ProjectDir)Calc.rc", "res\\calc.ico", "ReadMe.txt",
                             "packages.config", "R&D.txt", "split.cpp", "after.cpp", "calc.cpp"}));
  // Listed as written, twice when written twice.
  EXPECT_EQ(listed(p, MsbuildFormat::Vcxproj).size(), 12u);
  EXPECT_EQ(listed(p, MsbuildFormat::Vcxproj)[4], "$(ProjectDir)Calc.rc");

  // An SDK-style project only reads Compile items, with their Remove.
  MsbuildProject sdk = read("<Compile Include=\"a.cs\" /><Compile Remove=\"b\\**\" />\n"
                            "<ClCompile Include=\"c.cpp\" /><EmbeddedResource Include=\"r.resx\" />\n",
                            MsbuildFormat::SdkCsharp);
  EXPECT_EQ(values(sdk), (List{"a.cs", "-b\\**"}));
}

TEST(VcxprojLines, NameTheProjectByProjectNameThenRootNamespaceThenFileName) {
  EXPECT_EQ(msbuildProjectName(read("<RootNamespace>CalcApp</RootNamespace>\n"
                                    "<ProjectName>Calc</ProjectName>\n"),
                               "x/Other.vcxproj"),
            "Calc");
  EXPECT_EQ(msbuildProjectName(read("<RootNamespace> R&amp;D </RootNamespace>\n"
                                    "<RootNamespace>Later</RootNamespace>\n"),
                               "Other.vcxproj"),
            "R&D");
  EXPECT_EQ(msbuildProjectName(read("<ProjectName>$(MSBuildProjectName)</ProjectName>\n"
                                    "<AssemblyName>calc</AssemblyName>\n"),
                               "Other.vcxproj"),
            "calc");
  EXPECT_EQ(msbuildProjectName(read("<!-- <ProjectName>Old</ProjectName> -->\n"
                                    "<RootNamespace>\n  Split\n</RootNamespace>\n"),
                               "dir\\My.App.vcxproj"),
            "My.App");
}

TEST(ItemPatterns, MatchNamesWithStarsAndFoldersWithDoubleStars) {
  EXPECT_TRUE(matchesItemPattern("Old.cs", "old.CS"));
  EXPECT_FALSE(matchesItemPattern("Old.cs", "Sub\\Old.cs"));
  EXPECT_TRUE(matchesItemPattern("*.cs", "Program.cs"));
  EXPECT_FALSE(matchesItemPattern("*.cs", "Models\\Customer.cs"));
  EXPECT_TRUE(matchesItemPattern("**\\*.cs", "Program.cs"));
  EXPECT_TRUE(matchesItemPattern("**/*.cs", "a\\b\\c.cs"));
  EXPECT_TRUE(matchesItemPattern("Legacy\\**", "Legacy\\Old\\Parser.cs"));
  EXPECT_FALSE(matchesItemPattern("Legacy\\**", "LegacyTools\\Parser.cs"));
  EXPECT_TRUE(matchesItemPattern(".\\Models\\Cust?mer.cs", "Models/Customer.cs"));
  EXPECT_TRUE(matchesItemPattern("Gen*\\**\\*.g.cs", "Generated\\x\\y\\Form.g.cs"));
  EXPECT_FALSE(matchesItemPattern("Gen*\\**\\*.g.cs", "Generated\\Form.cs"));
  EXPECT_TRUE(matchesItemPattern("..\\Shared\\*.cs", "..\\Shared\\Version.cs"));
  // Many stars cannot make the match slow.
  EXPECT_FALSE(matchesItemPattern(std::string(200, '*') + "x", std::string(5000, 'a')));
  EXPECT_FALSE(matchesItemPattern("**\\**\\**\\**\\**\\**\\**\\**\\**\\**\\z",
                                  "a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\b"));
  EXPECT_EQ(itemKey(".\\Models/Customer.CS"), "models\\customer.cs");
}

TEST(SdkProject, ListsTheSourcesBelowItsFolderButNotBuildOutput) {
  TempDir dir;
  for (const char* name :
       {"Program.cs", "Models/Customer.cs", "Models/Order.cs", "Models/Deep/A/B/Item.cs",
        "Legacy/Old.cs", "bin/Debug/Gen.cs", "Bin/Release/Gen.cs", "obj/Debug/Info.cs",
        "OBJ/x.cs", "Models/obj/y.cs", ".vs/z.cs", "notes.txt", "Script.CS", "b.vb",
        "binaries/Tool.cs", "objects/Thing.cs"})
    dir.write("Tools/" + std::string(name), "class X {}\n");
  dir.write("Shared/Version.cs", "");
  const std::string tools = dir.file("Tools");
  MsbuildProject plain = read("<Project Sdk=\"Microsoft.NET.Sdk\">\n", MsbuildFormat::SdkCsharp);
  EXPECT_EQ(listed(plain, MsbuildFormat::SdkCsharp, tools),
            (List{"Legacy\\Old.cs", "Models\\Customer.cs", "Models\\Deep\\A\\B\\Item.cs",
                  "Models\\Order.cs", "Program.cs", "Script.CS", "binaries\\Tool.cs",
                  "objects\\Thing.cs"}));
  EXPECT_EQ(listed(plain, MsbuildFormat::SdkVb, tools), List{"b.vb"});

  MsbuildProject edited = read(
      "<Compile Remove=\"Legacy\\**\" />\n<Compile Remove=\"Models/*.cs;Script.cs\" />\n"
      "<Compile Include=\"..\\Shared\\Version.cs\" Link=\"Version.cs\" />\n"
      "<Compile Include=\"Program.cs\" /><Compile Include=\"Models\\Order.cs\" />\n"
      "<Compile Include=\"../Shared/*.cs\" /><Compile Include=\"Legacy/Old.cs\" />\n",
      MsbuildFormat::SdkCsharp);
  EXPECT_EQ(listed(edited, MsbuildFormat::SdkCsharp, tools),
            (List{"Models\\Deep\\A\\B\\Item.cs", "Program.cs", "binaries\\Tool.cs",
                  "objects\\Thing.cs", "..\\Shared\\Version.cs", "Models\\Order.cs",
                  "Legacy\\Old.cs"}));

  MsbuildProject explicitOnly = read(
      "<PropertyGroup><EnableDefaultCompileItems> False </EnableDefaultCompileItems>\n"
      "<Compile Include=\"Models\\**\\*.cs\" />\n",
      MsbuildFormat::SdkCsharp);
  EXPECT_EQ(listed(explicitOnly, MsbuildFormat::SdkCsharp, tools),
            (List{"Models\\Customer.cs", "Models\\Deep\\A\\B\\Item.cs", "Models\\Order.cs"}));
}

TEST(SdkProject, IsToldApartFromOlderProjectsByItsSdkAttribute) {
  TempDir dir;
  dir.write("Sdk.csproj", "\xEF\xBB\xBF<!-- <Project> -->\r\n<Project Sdk=\"Microsoft.NET.Sdk\">\r\n");
  dir.write("Split.vbproj", "<Project\n  Sdk='Microsoft.NET.Sdk'>\n");
  dir.write("Old.csproj",
            "<Project ToolsVersion=\"15.0\" xmlns=\"http://schemas.microsoft.com/developer/"
            "msbuild/2003\">\n<Import Project=\"x.props\" Sdk=\"Other\" />\n");
  dir.write("Older.csproj", "<VisualStudioProject>\n<ProjectName>X</ProjectName>\n");
  dir.write("Named.csproj", "<ProjectName Sdk=\"x\">\n");
  EXPECT_EQ(msbuildFormatOf(dir.file("Sdk.csproj")), MsbuildFormat::SdkCsharp);
  EXPECT_EQ(msbuildFormatOf(dir.file("Split.vbproj")), MsbuildFormat::SdkVb);
  EXPECT_EQ(msbuildFormatOf(dir.file("Old.csproj")), MsbuildFormat::None);
  EXPECT_EQ(msbuildFormatOf(dir.file("Older.csproj")), MsbuildFormat::None);
  EXPECT_EQ(msbuildFormatOf(dir.file("Named.csproj")), MsbuildFormat::None);
  EXPECT_EQ(msbuildFormatOf(dir.file("Missing.csproj")), MsbuildFormat::None);
  EXPECT_EQ(msbuildFormatOf("a.VCXPROJ"), MsbuildFormat::Vcxproj);
  EXPECT_EQ(msbuildFormatOf("a.vcxproj.filters"), MsbuildFormat::None);
  EXPECT_EQ(msbuildFormatOf("a.vcproj"), MsbuildFormat::None);
  // Both are recognised wherever a project is: the command and drops.
  EXPECT_TRUE(isProjectFile("Calc.VCXPROJ"));
  EXPECT_FALSE(isProjectFile("Calc.vcxproj.filters"));
  EXPECT_TRUE(isSolutionFile("Calc.SLN"));
  EXPECT_FALSE(isProjectFile("Calc.sln"));
}

TEST(SdkProject, BoundsTheWorkAHostileProjectCanAskFor) {
  TempDir dir;
  dir.write("P/a.cs", "");
  dir.write("P/b.cs", "");
  std::string lines;
  for (int i = 0; i < 150; ++i) lines += "<Compile Remove=\"x" + std::to_string(i) + "*.cs\" />\n";
  lines += "<Compile Remove=\"a.cs\" /><Compile Include=\"c.cs\" />\n";
  MsbuildProject p = read(lines, MsbuildFormat::SdkCsharp);
  bool cutShort = false;
  // Removes past the hundredth are left out and said to be; plain Includes still count.
  EXPECT_EQ(msbuildListedFiles(p, MsbuildFormat::SdkCsharp, dir.file("P"), &cutShort),
            (List{"a.cs", "b.cs", "c.cs"}));
  EXPECT_TRUE(cutShort);

  // Walks end at a depth no source tree reaches (so does a folder that links to itself),
  // and when the folders the budget allows are used up.
  std::string deep = "Deep";
  for (int i = 0; i < 70; ++i) deep += "/d";
  dir.write(deep + "/lost.cs", "");
  dir.write("Deep/found.cs", "");
  WalkBudget budget;
  FolderWalk walk = walkFolder(dir.file("Deep"), 1 << 20, budget);
  EXPECT_TRUE(walk.cutShort);
  EXPECT_EQ(walk.files, List{"found.cs"});
  EXPECT_EQ(budget.folders, 20000u - 64u);
  for (const char* name : {"W/1/a.cs", "W/2/a.cs", "W/3/a.cs"}) dir.write(name, "");
  WalkBudget small{2, 100};
  walk = walkFolder(dir.file("W"), 1 << 20, small);
  EXPECT_TRUE(walk.cutShort);
  EXPECT_EQ(walk.files, (List{"1\\a.cs", "2\\a.cs"}));
  WalkBudget fewFiles{100, 1};
  EXPECT_TRUE(walkFolder(dir.file("W"), 1 << 20, fewFiles).cutShort);
}

TEST(DspLines, UnquotedParentPathsStartRightAfterTheKey) {
  ProjectModel p;
  for (const char* line : {"SOURCE=..\\src\\main.cpp", "  SOURCE=..\\include\\parser.h  ",
                           "SOURCE=.\\..\\lib\\x.cpp", "SOURCE=..\\res\\app.ico", "SOURCE=P4.cpp",
                           "SOURCE=\"$(InputPath)\"", "SOURCE=$(InputPath)", "SOURCE="})
    EXPECT_EQ(readProjectLine(p, line), "");
  // A custom build step's "$(InputPath)" is the file it belongs to, listed on its own.
  EXPECT_EQ(p.sourceFiles, (List{"..\\src\\main.cpp", "..\\lib\\x.cpp", "P4.cpp"}));
  EXPECT_EQ(p.headerFiles, List{"..\\include\\parser.h"});
  EXPECT_EQ(p.resourceFiles, List{"..\\res\\app.ico"});
  // Lines where the key does not open the line, or nothing follows it, stay unreadable.
  for (const char* line : {"# SOURCE=..\\src\\main.cpp", "..\\ SOURCE=", "x..\\SOURCE=  ",
                           "SOURCE=\"..\\open.cpp"})
    EXPECT_EQ(readProjectLine(p, line), "Unable to parse source files from project") << line;
  EXPECT_EQ(p.sourceFiles.size(), 3u);
}
