#include "app/runs.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/worker.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temp_dir.h"

using namespace quillon;
using testing_support::TempDir;

namespace {

platform::Window dialogWindow = reinterpret_cast<platform::Window>(0x107);

/// A shell whose data files are the repository's, with the Output dialog open.
struct RunFixture {
  ShellState shell;
  TempDir dir;
  RunFixture() {
    scripted::reset();
    shell.settings.startupDirectory = QUILLON_DATA_DIR;
    shell.run.currentDirectory = shell.settings.startupDirectory;
    openOutputDialog(shell.run, dialogWindow);
  }
  ~RunFixture() { scripted::reset(); }
  std::string source(const std::string& name) {
    return dir.write(name, "int main() { return 0; }\r\n");
  }
};

std::string describe(const std::vector<scripted::Event>& events) {
  std::string out;
  for (const scripted::Event& e : events) out += e.kind + ":" + e.text + "\n";
  return out;
}

ptrdiff_t positionOf(const std::vector<std::string>& lines, const std::string& line) {
  auto at = std::find(lines.begin(), lines.end(), line);
  return at == lines.end() ? -1 : at - lines.begin();
}

}  // namespace

TEST(OutputDialog, ListsTheRunThenAsksBeforeEnablingOk) {
  RunFixture f;
  const std::string path = f.source("main.cpp");
  scripted::reset();
  openOutputDialog(f.shell.run, dialogWindow);
  scripted::answerYesNo({false});
  ASSERT_TRUE(prepareCommandRun(f.shell.context, path));
  singleFileRun(f.shell.context, path);

  EXPECT_EQ(describe(scripted::events()),
            "front:\n"
            "button:1 off\n"
            "line:Converting main.cpp....\n"
            "line:Successfully converted files: 1\n"
            "button:2 off\n"
            "ask:Would you like to open the file?\n"
            "button:1 on\n");
  for (const scripted::Event& e : scripted::events()) EXPECT_EQ(e.window, dialogWindow);
  EXPECT_EQ(testing_support::readFile(f.dir.file("main.cpp.htm")).substr(0, 6), "<html>");
}

TEST(OutputDialog, CountsOnlyTheFilesOfItsOwnRun) {
  RunFixture f;
  const std::string a = f.source("a.cpp"), b = f.source("b.cpp");
  droppedFilesRun(f.shell.context, {a, b});
  EXPECT_EQ(scripted::listLines().back(), "Successfully converted files: 2");

  scripted::reset();
  openOutputDialog(f.shell.run, dialogWindow);
  droppedFilesRun(f.shell.context, {a});
  EXPECT_EQ(scripted::listLines(),
            (std::vector<std::string>{"Converting a.cpp....", "Successfully converted files: 1"}));
}

TEST(OutputDialog, StopAnsweredNoLetsTheRunFinish) {
  RunFixture f;
  const std::string a = f.source("a.cpp"), b = f.source("b.cpp");
  bool asked = false;
  scripted::onLine([&](const std::string& line) {
    if (line == "Converting a.cpp...." && !asked) {
      asked = true;
      EXPECT_FALSE(requestStop(f.shell.run));
    }
  });
  scripted::answerYesNo({false, false});
  droppedFilesRun(f.shell.context, {a, b});

  EXPECT_TRUE(asked);
  EXPECT_FALSE(f.shell.run.cancelled);
  const std::vector<std::string> lines = scripted::listLines();
  EXPECT_EQ(lines.back(), "Successfully converted files: 2");
  EXPECT_EQ(positionOf(lines, "Conversion was canceled."), -1);
}

TEST(OutputDialog, StopAnsweredYesEndsTheListWithTheCancelLine) {
  RunFixture f;
  const std::string a = f.source("a.cpp"), b = f.source("b.cpp"), c = f.source("c.cpp");
  f.shell.run.currentDirectory = f.dir.path();
  scripted::onLine([&](const std::string& line) {
    if (line == "Converting a.cpp....") requestStop(f.shell.run);
  });
  scripted::answerYesNo({true});

  // The run goes on the worker; the dialog finishes the stop once the worker returned.
  Worker worker;
  ASSERT_TRUE(startWorker(worker, [&] { droppedFilesRun(f.shell.context, {a, b, c}); }));
  ASSERT_TRUE(waitForWorker(worker, 60000));
  finishStoppedRun(f.shell.context);

  const std::vector<std::string> lines = scripted::listLines();
  EXPECT_EQ(lines.back(), "Conversion was canceled.");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Conversion was canceled."), 1);
  EXPECT_EQ(positionOf(lines, "Converting b.cpp...."), -1);
  EXPECT_EQ(positionOf(lines, "Successfully converted files: 1"), -1);
  const std::vector<scripted::Event> events = scripted::events();
  for (const scripted::Event& e : events) EXPECT_NE(e.text, "Would you like to open the file?");
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[events.size() - 2].text, "1 on");
  EXPECT_EQ(events.back().text, "2 off");
  EXPECT_EQ(f.shell.run.currentDirectory, f.shell.settings.startupDirectory);
}

TEST(DroppedFiles, ConvertsTheOneSourceAloneAndReportsTheRest) {
  RunFixture f;
  const std::string main = f.source("main.cpp");
  const std::string readme = f.dir.write("readme.txt", "hello\r\n");
  droppedFilesRun(f.shell.context, {main, readme});
  EXPECT_EQ(scripted::listLines(),
            (std::vector<std::string>{"<readme.txt can't be converted>", "Converting main.cpp....",
                                      "Successfully converted files: 1"}));
  EXPECT_FALSE(testing_support::readFile(f.dir.file("main.cpp.htm")).empty());
}

TEST(DroppedFiles, HandsOneImageAloneToTheSingleFileConverter) {
  RunFixture f;
  f.dir.write("picture.bmp", "BM");
  droppedFilesRun(f.shell.context, {f.dir.file("picture.bmp")});
  EXPECT_EQ(scripted::listLines(),
            (std::vector<std::string>{"Converting picture.bmp....",
                                      "Successfully converted files: 1"}));
  EXPECT_FALSE(testing_support::readFile(f.dir.file("picture.bmp.htm")).empty());
  EXPECT_FALSE(platform::directoryExists(f.dir.file("Project_HTML")));
}

TEST(DroppedFiles, HandsTwoSourcesToOneWorkspaceInDropOrder) {
  RunFixture f;
  const std::string b = f.source("b.cpp"), a = f.source("a.cpp");
  droppedFilesRun(f.shell.context, {b, a});
  const std::vector<std::string> lines = scripted::listLines();
  ASSERT_GE(positionOf(lines, "Converting a.cpp...."), 0);
  EXPECT_LT(positionOf(lines, "Converting b.cpp...."), positionOf(lines, "Converting a.cpp...."));
  EXPECT_TRUE(platform::directoryExists(f.dir.file("Project_HTML")));
  EXPECT_EQ(lines.back(), "Successfully converted files: 2");
}

TEST(DroppedFiles, ConvertsAProjectFirstEvenWhenDroppedLater) {
  RunFixture f;
  const std::string a = f.source("a.cpp");
  const std::string readme = f.dir.write("readme.txt", "hello\r\n");
  // A project that cannot be read shows that it was reached, whatever the workspace does.
  droppedFilesRun(f.shell.context, {a, readme, f.dir.file("missing.vcproj")});
  std::vector<std::string> lines = scripted::listLines();
  EXPECT_EQ(lines, (std::vector<std::string>{"<readme.txt can't be converted>",
                                             "<missing.vcproj can't be read>",
                                             "Converting a.cpp....",
                                             "Successfully converted files: 1"}));

  // A real project: its lines come before the first dropped file is converted.
  scripted::reset();
  openOutputDialog(f.shell.run, dialogWindow);
  f.source("p.cpp");
  const std::string project = f.dir.write(
      "demo.vcproj",
      "<VisualStudioProject Name=\"demo\">\r\n<File RelativePath=\"p.cpp\">\r\n</File>\r\n"
      "</VisualStudioProject>\r\n");
  droppedFilesRun(f.shell.context, {a, readme, project});
  lines = scripted::listLines();
  const ptrdiff_t readmeLine = positionOf(lines, "<readme.txt can't be converted>");
  EXPECT_EQ(readmeLine, 0);
  EXPECT_GT(positionOf(lines, "Converting a.cpp...."), readmeLine + 1);  // the project between
  EXPECT_EQ(lines.back().rfind("Successfully converted files: ", 0), 0u);
}

TEST(CommandRuns, ChooseTheirDirectoriesBeforeTheRun) {
  RunFixture f;
  const std::string linksDir = f.dir.mkdir("links");
  f.dir.write("links/ReferenceLinks.xml",
              "<referenceLinks>\r\n<item> <word> cout</word>  <link> x </link> </item> \r\n");
  const std::string src = f.dir.mkdir("src");
  const std::string path = f.dir.write("src/main.cpp", "int x;\r\n");
  f.shell.run.currentDirectory = linksDir;

  ASSERT_TRUE(prepareCommandRun(f.shell.context, path));
  EXPECT_EQ(f.shell.referenceLinks.links.size(), 1u);  // read where the run stood before
  EXPECT_EQ(f.shell.run.currentDirectory, src);
  EXPECT_EQ(f.shell.settings.outputDirectory, src);

  f.shell.settings.useDefaultOutputDirectory = false;
  f.shell.settings.outputDirectory.clear();
  EXPECT_FALSE(prepareCommandRun(f.shell.context, path));  // prompt cancelled
  EXPECT_EQ(f.shell.settings.outputDirectory, "");
  scripted::answerOutputDirectory({linksDir});
  EXPECT_TRUE(prepareCommandRun(f.shell.context, path));
  EXPECT_EQ(f.shell.settings.outputDirectory, linksDir);
  EXPECT_EQ(f.shell.run.currentDirectory, src);
}

TEST(CommandRuns, WarnOnceOfALinksFileThatIsNoneAndLeaveOutLinksThatRunCode) {
  RunFixture f;
  const std::string path = f.dir.write("main.cpp", "int printf, puts;\r\n");
  f.shell.settings.referenceLinksFile = f.dir.write("ReferenceLinks.xml", "\x89PNG\r\n");
  droppedFilesRun(f.shell.context, {path});
  std::vector<scripted::Event> events = scripted::events();
  auto warnings = [](const std::vector<scripted::Event>& all) {
    std::vector<std::string> out;
    for (const scripted::Event& e : all)
      if (e.kind == "warning") out.push_back(e.text);
    return out;
  };
  EXPECT_EQ(warnings(events), (std::vector<std::string>{
                                  f.shell.settings.referenceLinksFile +
                                  " is not a reference links file, so the pages have no "
                                  "reference links"}));
  EXPECT_EQ(scripted::listLines().back(), "Successfully converted files: 1");

  // A table that a cloned repository brings: its code links are left out, with one
  // warning, before Convert File opens its dialog; the others are used.
  f.dir.write("ReferenceLinks.xml",
              "<referenceLinks>\n<item> <word> printf</word>  <link> JavaScript:alert(1) </link>"
              " </item>\n<item> <word> puts</word>  <link> p.htm </link> </item>\n"
              "<item> <word> int</word>  <link> &#x64;ata:x </link> </item>\n</referenceLinks>\n");
  scripted::reset();
  ASSERT_TRUE(prepareCommandRun(f.shell.context, path));
  EXPECT_TRUE(warnings(scripted::events()).empty());
  openOutputDialog(f.shell.run, dialogWindow);
  singleFileRun(f.shell.context, path);
  EXPECT_EQ(warnings(scripted::events()),
            (std::vector<std::string>{f.shell.settings.referenceLinksFile +
                                      ": the links of printf, int are left out of the pages, "
                                      "since their URLs would run code"}));
  const std::string page = testing_support::readFile(f.dir.file("main.cpp.htm"));
  EXPECT_NE(page.find("href=\"p.htm\""), std::string::npos);
  EXPECT_EQ(page.find("ata:"), std::string::npos);
  EXPECT_EQ(page.find("alert"), std::string::npos);
}

TEST(StartupDirectory, IsWhereTheDataFilesAre) {
  TempDir dir;
  const std::string program = dir.mkdir("program");
  const std::string elsewhere = dir.mkdir("elsewhere");
  EXPECT_EQ(findStartupDirectory(elsewhere, program), elsewhere);  // none holds them
  dir.write("program/data/SourceTree_Template.htm", "x");
  EXPECT_EQ(findStartupDirectory(elsewhere, program), platform::joinPath(program, "data"));
  dir.write("program/SourceTree_Template.htm", "x");
  EXPECT_EQ(findStartupDirectory(elsewhere, program), program);
  dir.write("elsewhere/SourceTree_Template.htm", "x");
  EXPECT_EQ(findStartupDirectory(elsewhere, program), elsewhere);
}

TEST(ReferenceLinksHome, IsTheUsersFolderOnlyForAnInstalledCopy) {
  TempDir dir;
  const std::string program = dir.mkdir("program");
  const std::string user = dir.mkdir("user");
  EXPECT_EQ(findReferenceLinksHome(program, user).file, "");  // unpacked from the ZIP
  dir.write("program/Installed.txt", "x");
  const ReferenceLinksHome home = findReferenceLinksHome(program, user);
  EXPECT_EQ(home.file, platform::joinPath(platform::joinPath(user, "Quillon"), "ReferenceLinks.xml"));
  EXPECT_EQ(home.takeOver, platform::joinPath(program, "ReferenceLinks.xml"));
  EXPECT_EQ(findReferenceLinksHome(program, "").file, "");  // no user folder known
}

TEST(ReferenceLinksHome, TakesOverTheTableBesideTheProgramOnlyWhileItHasNone) {
  TempDir dir;
  const ReferenceLinksHome home{dir.file("user/Quillon/ReferenceLinks.xml"),
                                dir.file("program/ReferenceLinks.xml")};
  EXPECT_FALSE(prepareReferenceLinksHome(home));  // the user folder is not there
  dir.mkdir("user");
  dir.mkdir("program");
  EXPECT_TRUE(prepareReferenceLinksHome(home));
  EXPECT_TRUE(platform::directoryExists(dir.file("user/Quillon")));  // ready for a save
  EXPECT_FALSE(platform::fileExists(home.file));
  dir.write("program/ReferenceLinks.xml", "beside");
  EXPECT_TRUE(prepareReferenceLinksHome(home));
  EXPECT_EQ(dir.read("user/Quillon/ReferenceLinks.xml"), "beside");
  EXPECT_EQ(dir.read("program/ReferenceLinks.xml"), "beside");  // the original stays
  dir.write("user/Quillon/ReferenceLinks.xml", "mine");
  EXPECT_TRUE(prepareReferenceLinksHome(home));
  EXPECT_EQ(dir.read("user/Quillon/ReferenceLinks.xml"), "mine");  // never replaced
  EXPECT_TRUE(prepareReferenceLinksHome(ReferenceLinksHome{}));  // today's place: nothing to do
}
