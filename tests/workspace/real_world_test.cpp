// Projects as people have them today, from tests/data/real_world: a Visual C++ 6 project
// with bare "..\" paths, a .vcxproj with its filters and a UTF-16 resource script, an
// SDK-style .csproj beside its build output, and a solution of two of them. Every
// workspace is compared byte for byte with its golden copy.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/runs.h"
#include "tests/workspace/golden_tree.h"
#include "tests/workspace/workspace_fixture.h"
#include "workspace/msbuild_project.h"
#include "workspace/solution.h"

using namespace quillon;
using namespace testing_support;

namespace {

using List = std::vector<std::string>;

const std::string utf8Meta = "charset=utf-8\"";
const std::string ansiMeta = "charset=windows-1252\"";

/// A fixture whose source folder holds a copy of the samples, with the build output and
/// editor folders that a real SDK-style project has beside its sources.
struct Samples : WorkspaceFixture {
  Samples() {
    namespace fs = std::filesystem;
    fs::copy(fs::path(QUILLON_SOURCE_DIR) / "tests" / "data" / "real_world", src,
             fs::copy_options::recursive);
    for (const char* name :
         {"Tools/obj/Debug/net8.0/Tools.AssemblyInfo.cs", "Tools/obj/Debug/net8.0/Tools.GlobalUsings.g.cs",
          "Tools/bin/Debug/net8.0/Generated.cs", "Tools/.vs/Backup.cs"})
      dir.write("src/solution/" + std::string(name), "class Generated {}\n");
    settings.referenceLinksFile = dir.file("none.xml");
  }

  List problems() const {
    List out;
    for (const scripted::Event& e : scripted::events())
      if (e.kind == "problem" || e.kind == "message") out.push_back(e.text);
    return out;
  }

  bool hasMeta(const std::string& page, const std::string& meta) const {
    return output(page).find(meta) != std::string::npos;
  }
};

}  // namespace

TEST(RealWorldProjects, Vc6ProjectWithBareParentPaths) {
  Samples f;
  f.project("vc6\\Tool\\Tool.dsp");
  EXPECT_EQ(f.problems(), List{});
  EXPECT_EQ(f.run.convertedFileCount, 6);  // five pages and the icon
  EXPECT_TRUE(f.exists("Tool_HTML/string tools.cpp.htm"));
  EXPECT_TRUE(f.hasMeta("Tool_HTML/string tools.cpp.htm", ansiMeta));
  EXPECT_EQ(compareWithGoldenTree("workspace_dsp_vc6", f.out), "");
}

TEST(RealWorldProjects, VcxprojWithFiltersAndAUtf16ResourceScript) {
  Samples f;
  f.project("solution\\Calc\\Calc.vcxproj");
  EXPECT_EQ(f.problems(), List{});
  // calc.cpp, main.cpp, log.cpp, ReadMe.txt, calc.h, resource.h, Calc.rc and the icon.
  EXPECT_EQ(f.run.convertedFileCount, 8);
  EXPECT_EQ(f.run.lastOutputFileName, "Calc_Project.htm");  // named by <ProjectName>
  EXPECT_TRUE(f.hasMeta("Calc_HTML/Calc.rc.htm", utf8Meta));   // UTF-16 with a mark
  EXPECT_TRUE(f.hasMeta("Calc_HTML/calc.cpp.htm", utf8Meta));  // UTF-8 without a mark
  EXPECT_TRUE(f.hasMeta("Calc_HTML/log.cpp.htm", ansiMeta));   // windows-1252
  EXPECT_TRUE(f.hasMeta("Calc_HTML/main.cpp.htm", ansiMeta));  // ASCII
  EXPECT_FALSE(f.exists("Calc_HTML/old_calc.cpp.htm"));       // commented out
  EXPECT_EQ(compareWithGoldenTree("workspace_vcxproj", f.out), "");

  // The filters file beside the project is no project of its own.
  scripted::reset();
  droppedFilesRun(f.context, {platform::joinPath(f.src, "solution/Calc/Calc.vcxproj.filters")});
  EXPECT_EQ(f.problems(), List{"<Calc.vcxproj.filters can't be converted>"});
}

TEST(RealWorldProjects, SdkStyleCsprojFindsItsSourcesButNotItsBuildOutput) {
  Samples f;
  f.project("solution\\Tools\\Tools.csproj");
  EXPECT_EQ(f.problems(), List{});
  EXPECT_EQ(f.run.convertedFileCount, 4);
  EXPECT_EQ(f.run.lastOutputFileName, "Calc.Tools_Project.htm");
  EXPECT_FALSE(f.exists("Tools_HTML/OldParser.cs.htm"));  // removed by the project
  EXPECT_FALSE(f.exists("Tools_HTML/Tools.AssemblyInfo.cs.htm") ||
               f.exists("Tools_HTML/Generated.cs.htm") || f.exists("Tools_HTML/Backup.cs.htm"));
  EXPECT_TRUE(f.hasMeta("Tools_HTML/Program.cs.htm", utf8Meta));
  // The class tree is read from the project's folder, not from the run's directory.
  const std::string classes = f.output("Tools_HTML/ClassTree.htm");
  for (const char* name : {">Customer<", ">Order<", ">OrderState<", ">Program<"})
    EXPECT_NE(classes.find(name), std::string::npos) << name;
  EXPECT_EQ(compareWithGoldenTree("workspace_sdk_csproj", f.out), "");
}

TEST(RealWorldProjects, VisualStudioNet2003ProjectsListEveryFileOfTheirFolders) {
  Samples f;
  f.project("net2003\\Calc\\Calc.csproj");
  EXPECT_EQ(f.problems(), List{});
  // Six sources, the two forms' resources, the icon and the keypad picture; the Images
  // folder entry is no file.
  EXPECT_EQ(f.run.convertedFileCount, 10);
  EXPECT_EQ(f.run.lastOutputFileName, "PocketCalc_Project.htm");  // named by its Settings
  // A linked file is read where it lies, outside the project's folder.
  EXPECT_NE(f.output("Calc_HTML/SharedVersion.cs.htm").find("1.2"), std::string::npos);
  EXPECT_EQ(compareWithGoldenTree("workspace_vsnet_csproj", f.out), "");

  Samples vb;
  vb.project("net2003\\Viewer\\Viewer.vbproj");
  EXPECT_EQ(vb.problems(), List{});
  EXPECT_EQ(vb.run.convertedFileCount, 9);
  EXPECT_EQ(vb.run.lastOutputFileName, "PictureViewer_Project.htm");  // RootNamespace first
  EXPECT_NE(vb.output("Viewer_HTML/Options.vb.htm").find("StretchBox"), std::string::npos);
  EXPECT_NE(vb.output("Viewer_HTML/Settings.vb.htm").find("LastFolder"), std::string::npos);
  EXPECT_TRUE(vb.exists("Viewer_HTML/Images/toolbar.bmp"));
  EXPECT_EQ(vb.output("Viewer_HTML/SourceTree.htm").find(">Help<"), std::string::npos);

  // A project none of whose files can be read says so for each one, and still makes its
  // workspace, named after the project file.
  WorkspaceFixture gone;
  gone.source("Gone.vjsproj",
              "<VisualStudioProject>\n<VJSHARP>\n<Files>\n<Include>\n<File\n RelPath = \"Main.jsl\"\n"
              " BuildAction = \"Compile\"\n/>\n<File RelPath = \"res\\logo.gif\" BuildAction = "
              "\"Content\" />\n<Reference Name = \"vjslib\" />\n");
  gone.project("Gone.vjsproj");
  EXPECT_EQ(problemLines(), (List{"<Main.jsl can't be read>", "<logo.gif can't be read>"}));
  EXPECT_EQ(gone.run.lastOutputFileName, "Gone_Project.htm");
}

TEST(RealWorldProjects, SolutionDroppedOnTheWindowConvertsEachProject) {
  Samples f;
  f.settings.useDefaultOutputDirectory = false;
  scripted::answerOutputDirectory({f.out});
  scripted::answerYesNo({false});
  droppedFilesRun(f.context, {platform::joinPath(f.src, "solution/Calc.sln")});
  EXPECT_EQ(f.problems(),
            (List{"<Installer\\Installer.wixproj can't be converted>", "<Legacy.csproj can't be read>"}));
  EXPECT_EQ(scripted::listLines().back(), "Successfully converted files: 12");
  EXPECT_EQ(f.run.lastOutputFileName, "Calc_Solution.htm");
  // One row a project, in the solution's order, with its language and counts.
  const std::string page = f.output("Calc_Solution.htm");
  EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
  EXPECT_NE(page.find("<a href=\"Calc_Project.htm\" class=\"tree_pitem\">Calc</a><span "
                      "class=\"facts\">C/C++ &middot; 8 files &middot; 1 class</span>"),
            std::string::npos);
  EXPECT_LT(page.find("Calc_Project.htm"), page.find("Tools_Project.htm"));
  EXPECT_EQ(compareWithGoldenTree("workspace_sln", f.out), "");
}

/// The values of `attribute="..."` in `text`, in order, of the tags that also hold `with`.
List attributeValues(const std::string& text, const std::string& attribute, const std::string& with) {
  List values;
  const std::string key = attribute + "=\"";
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
    const size_t start = at + key.size(), end = text.find('"', start);
    const size_t tagStart = text.rfind('<', at), tagEnd = text.find('>', end);
    if (text.substr(tagStart, tagEnd - tagStart).find(with) != std::string::npos)
      values.push_back(text.substr(start, end - start));
  }
  return values;
}

TEST(Solutions, EveryProjectOfARealLookingSolutionHasItsWorkspaceAndEveryFileItsText) {
  // Five projects that all call themselves "viewer", two files named viewer.vcxproj, and
  // paths spelt in other letter cases than the disk has them, in the projects and the
  // solution alike.
  Samples f;
  convertSolution(f.context, "suite/Viewer.sln");
  EXPECT_EQ(f.problems(), List{});
  const std::string solution = f.output("Viewer_Solution.htm");
  const List indexPages = attributeValues(solution, "href", "tree_pitem");
  EXPECT_EQ(indexPages, (List{"viewer_core_Project.htm", "viewer_gui_Project.htm", "viewer_tests_Project.htm",
                              "viewer_bench_Project.htm", "Steam_Project.htm"}));
  List folders;
  size_t pages = 0;
  for (const std::string& index : indexPages) {
    SCOPED_TRACE(index);
    const std::string text = f.output(index);
    const std::string name = index.substr(0, index.size() - 12);  // without "_Project.htm"
    EXPECT_NE(text.find("<TITLE>" + name + " HTML Workspace</TITLE>"), std::string::npos);
    const List trees = attributeValues(text, "src", "tree_frame");
    ASSERT_FALSE(trees.empty());
    const std::string folder = trees.front().substr(0, trees.front().find('/'));
    folders.push_back(folder);
    // Every item of the source tree opens a page that holds its file's lines.
    for (const std::string& item : attributeValues(f.output(trees.front()), "HREF", "source_frame")) {
      ++pages;
      const std::string page = f.output(folder + "/" + item);
      EXPECT_TRUE(item.rfind("Images/", 0) == 0 ? !page.empty() : page.find("<nobr>") != std::string::npos)
          << item;
    }
  }
  EXPECT_EQ(folders, (List{"viewer_core_HTML", "Viewer_Gui_HTML", "viewer_HTML", "bench~viewer_HTML", "Steam_HTML"}));
  EXPECT_EQ(pages, 16u);
  // Pages and trees keep the project's spelling; the class tree has what the files hold.
  EXPECT_NE(f.output("viewer_core_HTML/VIEWER_Exports.cpp.htm").find("ViewerOpen"), std::string::npos);
  EXPECT_NE(f.output("viewer_core_HTML/ClassTree.htm").find(">Shader<"), std::string::npos);
  EXPECT_NE(f.output("Steam_HTML/FormText.designer.vb.htm").find("DesignerGenerated"), std::string::npos);
  EXPECT_NE(f.output("Steam_HTML/Steam.vb.htm").find("Pressure"), std::string::npos);
}

TEST(Solutions, SkipWhatCannotBeConvertedAndSayWhy) {
  WorkspaceFixture f;
  f.source("A/A.vcxproj", "<ClCompile Include=\"a.cpp\" />\n");
  f.source("A/a.cpp", "int a;\n");
  f.source("Other/A.vcxproj", "<ClCompile Include=\"b.cpp\" />\n");
  f.source("B/B.csproj", "<Project Sdk=\"Microsoft.NET.Sdk\">\n<RootNamespace>A</RootNamespace>\n");
  f.source("B/b.cs", "class B {}\n");
  f.source("My Apps.sln",
           "Project(\"{2150e333-8fdc-42a3-9474-1a3956d46de8}\") = \"Docs\", \"Docs\", \"{1}\"\r\n"
           "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}\") = \"<A>\", \"A\\A.vcxproj\", \"{2}\"\r\n"
           "Project(\"{930C7802-8A8C-48F9-8165-68863BCCD9DD}\") = \"Setup\", \"Setup\\Setup.wixproj\", \"{3}\"\r\n"
           "Project(\"{E24C65DC-7377-472B-9ABA-BC803B73C61A}\") = \"Site\", \"http://localhost/Site\", \"{4}\"\r\n"
           "Project(\"{FAE04EC0-301F-11D3-BF4B-00C04F79EFBC}\") = \"Gone\", \"Gone\\Gone.csproj\", \"{5}\"\r\n"
           "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}\") = \"A2\", \"Other\\A.vcxproj\", \"{6}\"\r\n"
           "Project(\"{9A19103F-16F7-4668-BE54-9A1E7A4F7556}\") = \"B\", \"B\\B.csproj\", \"{7}\"\r\n"
           "\tProject(\"{x}\") = \"Short\"\r\nProjectSection(x) = \"a\", \"b\", \"c\"\r\n");
  convertSolution(f.context, "My Apps.sln");
  EXPECT_EQ(problemLines(),
            (List{"<Setup\\Setup.wixproj can't be converted>",
                  "<http://localhost/Site can't be converted>", "<Gone.csproj can't be read>",
                  "<b.cpp can't be read>"}));
  // Three projects that all call themselves A: each its own workspace, named by the
  // solution, and two project files of one name each their own folder.
  EXPECT_TRUE(f.exists("A_HTML/a.cpp.htm"));
  EXPECT_TRUE(f.exists("B_HTML/b.cs.htm"));
  EXPECT_TRUE(f.exists("Other~A_HTML/SourceTree.htm"));
  EXPECT_NE(f.output("A2_Project.htm").find("<TITLE>A2 HTML Workspace</TITLE>"), std::string::npos);
  EXPECT_NE(f.output("A2_Project.htm").find("\"Other~A_HTML/SourceTree.htm\""), std::string::npos);
  EXPECT_NE(f.output("B_Project.htm").find("\"B_HTML/"), std::string::npos);
  EXPECT_EQ(f.run.lastOutputFileName, "My Apps_Solution.htm");
  const std::string page = f.output("My Apps_Solution.htm");
  EXPECT_NE(page.find("<title>My Apps Solution</title>"), std::string::npos);
  EXPECT_NE(page.find("charset=windows-1252"), std::string::npos);
  // Every project has its row; those not converted say why, without a link.
  size_t at = 0;
  for (const char* row :
       {"<a href=\"_A__Project.htm\" class=\"tree_pitem\">&lt;A&gt;</a><span class=\"facts\">C/C++",
        "<span class=\"tree_pitem\">Setup</span><span class=\"facts\">Setup\\Setup.wixproj: not a "
        "kind of project that Quillon reads</span>",
        "<span class=\"tree_pitem\">Site</span>",
        "<span class=\"tree_pitem\">Gone</span><span class=\"facts\">Gone\\Gone.csproj: missing</span>",
        "<a href=\"A2_Project.htm\" class=\"tree_pitem\">A2</a>",
        "<a href=\"B_Project.htm\" class=\"tree_pitem\">B</a><span class=\"facts\">C# &middot; 1 file "
        "&middot; 1 class</span>"}) {
    at = page.find(row, at);
    EXPECT_NE(at, std::string::npos) << row;
  }
  EXPECT_EQ(page.find("Docs"), std::string::npos);  // a solution folder is no project

  // A confirmed Stop ends the solution: later projects start no workspace.
  WorkspaceFixture stopped;
  stopped.source("A/A.vcxproj", "<ClCompile Include=\"a.cpp\" />\n");
  stopped.source("B/B.vcxproj", "<ClCompile Include=\"b.cpp\" />\n");
  stopped.source("S.sln",
                 "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}\") = \"A\", \"A\\A.vcxproj\", \"{1}\"\n"
                 "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}\") = \"B\", \"B\\B.vcxproj\", \"{2}\"\n");
  scripted::onLine([&](const std::string& line) {
    if (line == "Converting a.cpp....") stopped.run.cancelled = stopped.run.stopRequested = true;
  });
  convertSolution(stopped.context, "S.sln");
  EXPECT_TRUE(stopped.exists("A_Project.htm"));
  EXPECT_FALSE(platform::directoryExists(platform::joinPath(stopped.out, "B_HTML")));
  EXPECT_NE(stopped.output("S_Solution.htm").find("A_Project.htm"), std::string::npos);
}

TEST(Solutions, VcxprojFolderMacrosAreWrittenOutAndOthersReported) {
  WorkspaceFixture f;
  f.source("Shared/util.cpp", "int sharedUtil;\n");
  f.source("Apps/App/app.h", "int appHeader;\n");
  f.source("Apps/App/src/main.cpp", "int appMain;\n");
  f.source("Apps/App/res/app.ico", "icon");
  f.source("Apps/App/App.vcxproj",
           "<ClCompile Include=\"$(SolutionDir)Shared\\util.cpp\" />\n"
           "<ClInclude Include=\"$(ProjectDir)\\app.h\" />\n"
           "<ClCompile Include=\"$(MSBuildProjectDirectory)\\src\\main.cpp\" />\n"
           "<Image Include=\"$(msbuildthisfiledirectory)res\\app.ico\" />\n"
           "<ClCompile Include=\"$(IntDir)gen.cpp\" /><None Include=\"$(INTDIR)gen.txt\" />\n"
           "<ClCompile Include=\"$(SolutionDir)$(Configuration)\\x.cpp\" />\n");
  f.source("S.sln", "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}\") = \"App\", "
                    "\"Apps\\App\\App.vcxproj\", \"{1}\"\n");
  convertSolution(f.context, "S.sln");
  EXPECT_EQ(problemLines(), (List{"<App.vcxproj: $(IntDir) in a listed path is not known>",
                              "<App.vcxproj: $(Configuration) in a listed path is not known>"}));
  EXPECT_NE(f.output("App_HTML/util.cpp.htm").find("sharedUtil"), std::string::npos);
  EXPECT_NE(f.output("App_HTML/app.h.htm").find("appHeader"), std::string::npos);
  EXPECT_NE(f.output("App_HTML/main.cpp.htm").find("appMain"), std::string::npos);
  EXPECT_EQ(f.output("App_HTML/Images/app.ico"), "icon");
  EXPECT_FALSE(f.exists("App_HTML/gen.cpp.htm") || f.exists("App_HTML/gen.txt.htm"));

  // Converted on its own, the project is its own solution folder.
  scripted::reset();
  f.project("Apps\\App\\App.vcxproj");
  EXPECT_EQ(problemLines(), (List{"<App.vcxproj: $(IntDir) in a listed path is not known>",
                              "<App.vcxproj: $(Configuration) in a listed path is not known>",
                              "<util.cpp can't be read>"}));

  EXPECT_EQ(solutionDirFor("/w/sol/Apps/App/", "/w/sol"), "..\\..\\");
  EXPECT_EQ(solutionDirFor("C:\\w\\sol\\.\\App", "C:\\w\\sol"), "..\\");
  EXPECT_EQ(solutionDirFor("/w/sol", "/w/sol"), ".\\");
  EXPECT_EQ(solutionDirFor("/w/sol/../other/App", "/w/sol"), "/w/sol\\");
  EXPECT_EQ(solutionDirFor("/w/solo/App", "/w/sol/"), "/w/sol/");
  EXPECT_EQ(solutionDirFor("/w/App", ""), ".\\");
  std::string unknown;
  EXPECT_EQ(expandFolderMacros("$(ProjectDir", "..\\", &unknown), "$(ProjectDir");
  EXPECT_EQ(expandFolderMacros("a$(SolutionDir)/b.cpp", "..\\", &unknown), "a..\\b.cpp");
  EXPECT_FALSE(expandFolderMacros("$(ProjectDir)$(x)", "", &unknown));
  EXPECT_EQ(unknown, "$(x)");
}

TEST(Solutions, ProjectLinesAndPageNames) {
  std::optional<SolutionProject> p = solutionProjectLine(
      "\xEF\xBB\xBFProject(\"{FAE04EC0-301F-11D3-BF4B-00C04F79EFBC}\") = \"Calc UI\", "
      "\"src\\Calc UI\\Calc UI.csproj\", \"{42}\"");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, "{FAE04EC0-301F-11D3-BF4B-00C04F79EFBC}");
  EXPECT_EQ(p->name, "Calc UI");
  EXPECT_EQ(p->path, "src\\Calc UI\\Calc UI.csproj");
  EXPECT_FALSE(isSolutionFolder(*p));
  EXPECT_FALSE(solutionProjectLine("EndProject"));
  EXPECT_FALSE(solutionProjectLine("\tProjectSection(SolutionItems) = preProject"));
  EXPECT_FALSE(solutionProjectLine("Project(\"{1}\") = \"only a name\""));
  EXPECT_EQ(solutionPageName("Calc"), "Calc_Solution.htm");
  EXPECT_EQ(solutionPageText("Empty", {}, false).find(">No project was converted.</div>\n") !=
                std::string::npos,
            true);
}
