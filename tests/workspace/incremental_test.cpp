// Incremental runs: a run over a workspace made before converts only the pages whose bytes
// change, and what it leaves is what a fresh run writes, byte for byte, on every kind of
// workspace, after edits, new classes, additions, renames and removals; a manifest that
// cannot be trusted gives a full run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "engine/page_writer.h"
#include "tests/workspace/golden_tree.h"
#include "tests/workspace/workspace_fixture.h"
#include "workspace/folder_workspace.h"
#include "workspace/incremental.h"
#include "workspace/solution.h"

using namespace quillon;
using namespace testing_support;
namespace fs = std::filesystem;
using List = std::vector<std::string>;

namespace {

/// A copy of the real-world sources and a way of converting one of them, fresh or
/// incrementally.
struct Runs : WorkspaceFixture {
  Runs() {
    fs::copy(fs::path(QUILLON_SOURCE_DIR) / "tests" / "data" / "real_world", src,
             fs::copy_options::recursive);
    settings.referenceLinksFile = dir.file("none.xml");
    settings.jobs = 2;
  }

  /// Converts `input` (a project, solution or folder below the sources) into `out` and
  /// returns the pages converted and the "kept" line, if any.
  std::pair<int, std::string> convert(const std::string& input, const std::string& into,
                                      bool incremental) {
    scripted::reset();
    run.convertedFileCount = 0;
    run.currentDirectory = src;
    settings.outputDirectory = dir.mkdir(into);
    settings.incremental = incremental;
    const std::string path = platform::joinPath(src, input);
    SourceFileConverter converter(context);
    if (platform::directoryExists(path))
      convertFolder(converter, path);
    else if (path.size() > 4 && path.compare(path.size() - 4, 4, ".sln") == 0)
      convertSolution(context, path);
    else
      convertProject(converter, path);
    std::string kept;
    for (const std::string& line : scripted::listLines())
      if (line.rfind("Unchanged pages kept: ", 0) == 0) kept = line;
    return {run.convertedFileCount.load(), kept};
  }

  /// How the incremental output `into` differs from a fresh run of `input` (the
  /// manifests aside); "" when alike.
  std::string againstFresh(const std::string& input, const std::string& into) {
    const bool was = settings.incremental;
    fs::remove_all(dir.file("fresh"));
    convert(input, "fresh", false);
    settings.incremental = was;
    return compareTrees(dir.file("fresh"), dir.file(into), manifestName);
  }

  /// Whether the manifest of the workspace `folder` in `into` is the one a first
  /// incremental run writes.
  bool manifestAsFirstWrites(const std::string& input, const std::string& into,
                             const std::string& folder) {
    fs::remove_all(dir.file("first"));
    convert(input, "first", true);
    const std::string name = "/" + folder + "/" + manifestName;
    return dir.read("first" + name) == dir.read(into + name);
  }
};

}  // namespace

TEST(IncrementalRuns, AgainOverEveryKindOfWorkspaceKeepsEveryPageAndItsBytes) {
  // Projects of every format, solutions and a folder, with every option that pages carry.
  const std::vector<std::pair<std::string, std::function<void(ConversionSettings&)>>> cases = {
      {"vc6/Tool/Tool.dsp", [](ConversionSettings&) {}},
      {"solution/Calc/Calc.vcxproj", [](ConversionSettings& s) { s.lineNumbers = true; }},
      {"solution/Tools/Tools.csproj", [](ConversionSettings& s) { s.richColours = true; }},
      {"net2003/Viewer/Viewer.vbproj", [](ConversionSettings&) {}},
      {"solution/Calc.sln", [](ConversionSettings& s) { s.crossReferences = true; }},
      {"suite/Viewer.sln", [](ConversionSettings& s) { s.textSearch = true; }},
      {".", [](ConversionSettings& s) { s.crossReferences = s.lineNumbers = s.textSearch = true; }},
      {"game", [](ConversionSettings& s) { s.trees = TreeForm::Lazy; }},
  };
  for (const auto& [input, options] : cases) {
    SCOPED_TRACE(input);
    Runs f;
    options(f.settings);
    const auto first = f.convert(input, "inc", true);
    EXPECT_EQ(first.second, "");  // no manifest yet: every page converted
    const auto again = f.convert(input, "inc", true);
    EXPECT_NE(again.second, "");
    EXPECT_LT(again.first, first.first);  // only images copied again
    EXPECT_EQ(f.againstFresh(input, "inc"), "");
    // Files written again with the same bytes (a checkout) are kept too.
    for (const auto& entry : fs::recursive_directory_iterator(f.src))
      if (entry.is_regular_file()) fs::last_write_time(entry.path(), fs::file_time_type::clock::now());
    EXPECT_EQ(f.convert(input, "inc", true).first, again.first);
  }
}

TEST(IncrementalRuns, EditsAdditionsRenamesAndRemovalsGiveWhatAFreshRunGives) {
  for (bool xref : {false, true}) {
    SCOPED_TRACE(xref ? "with cross-references" : "plain");
    Runs f;
    f.settings.crossReferences = xref;
    f.settings.lineNumbers = xref;  // class links by line: a header's shift moves them
    const std::string game = "game";
    f.convert(game, "inc", true);
    auto step = [&](const char* what, const std::function<void()>& change, int mostConverted) {
      SCOPED_TRACE(what);
      change();
      const auto converted = f.convert(game, "inc", true).first;
      EXPECT_LE(converted, mostConverted);
      EXPECT_EQ(f.againstFresh(game, "inc"), "");
      // Records kept from the last manifest are written as they were read.
      EXPECT_TRUE(f.manifestAsFirstWrites(game, "inc", "game_HTML"));
    };
    const int images = f.convert(game, "inc", true).first;  // all kept: the copies alone
    step("a body edited", [&] { f.dir.write("src/game/src/mixer.c", "int mix(int a) { return a; }\n"); },
         xref ? 100 : images + 1);
    // The folder walk's stamps tell a file written again with its size kept.
    step("a byte changed, the size kept",
         [&] { f.dir.write("src/game/src/mixer.c", "int mix(int b) { return b; }\n"); },
         xref ? 100 : images + 1);
    // A class added to a header re-links the page that names it, and only that one.
    step("a page names a class to come",
         [&] { f.dir.write("src/game/src/Audio/Draw.cpp", "#include \"Common.h\"\nGadget g;\n"); },
         xref ? 100 : images + 1);
    step("the class comes",
         [&] { f.dir.write("src/game/src/Audio/Common.h", "class Gadget {\n};\n"); },
         xref ? 100 : images + 2);
    EXPECT_NE(f.dir.read("inc/game_HTML/Draw.cpp.htm").find("Common.h.htm#"), std::string::npos);
    // The other Common.h takes the page name the removed one had; its old page goes.
    step("a header removed", [&] { fs::remove(fs::path(f.src) / "game/src/Audio/Common.h"); }, 100);
    EXPECT_FALSE(platform::fileExists(f.dir.file("inc/game_HTML/Render~Common.h.htm")));
    step("a file added", [&] { f.dir.write("src/game/src/Audio/Common.h", "class Gadget;\n"); }, 100);
    step("a file renamed", [&] {
      fs::rename(fs::path(f.src) / "game/src/mixer.c", fs::path(f.src) / "game/src/mixing.c");
    }, 100);
  }
}

TEST(IncrementalRuns, AManifestThatCannotBeTrustedGivesAFullRun) {
  Runs f;
  const auto first = f.convert("game", "inc", true).first;
  const std::string manifest = f.dir.file("inc/game_HTML/" + std::string(manifestName));
  std::string text;
  ASSERT_TRUE(readWholeFile(manifest, &text));
  std::string lf = text;  // as written, with CR LF
  lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
  Manifest read;
  ASSERT_TRUE(readManifest(lf, &read));
  EXPECT_EQ(manifestText(read), lf);
  // The members, read only when the trees are written, give the same lines again.
  size_t members = 0;
  for (ManifestGathered& file : read.gathered) {
    size_t next[3] = {0, 0, 0};
    ASSERT_TRUE(readMembers(file.recordsText, file.records.model, next));
    for (const ClassRecord& record : file.records.model.classRecords) members += record.members.size();
    file.recordsText = {};
  }
  EXPECT_GT(members, 0u);
  EXPECT_EQ(manifestText(read), lf);
  const std::vector<std::string> untrusted = {
      "",                                              // empty
      text.substr(0, text.size() / 2),                 // cut short
      "quillon manifest 1\r\noptions 0000000000000001\r\nend\r\n",  // other options or version
      std::string(text).replace(text.find("\np "), 3, "\nq "),     // a line of no kind
      std::string(text).replace(text.find("\nm "), 3, "\nm x"),    // a member's flags
  };
  for (const std::string& damaged : untrusted) {
    writeTextFile(manifest, damaged);
    const auto run = f.convert("game", "inc", true);
    EXPECT_EQ(run.second, "");
    EXPECT_EQ(run.first, first);
    EXPECT_EQ(f.againstFresh("game", "inc"), "");
  }
  // Another option set: a full run. Trees written whole after trees that loaded their
  // nodes leave none of those nodes' scripts.
  f.settings.trees = TreeForm::Lazy;
  EXPECT_EQ(f.convert("game", "inc", true).second, "");
  f.settings.trees = TreeForm::Full;
  EXPECT_EQ(f.convert("game", "inc", true).second, "");
  EXPECT_EQ(f.againstFresh("game", "inc"), "");
}
