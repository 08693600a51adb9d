#include "app/reference_links_dialog.h"

#include <gtest/gtest.h>

#include "cli/links_command.h"
#include "engine/page_writer.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temp_dir.h"

using namespace quillon;
using testing_support::TempDir;

namespace {

platform::Window dialogWindow = reinterpret_cast<platform::Window>(0x108);

/// The dialog over a reference links file in a scratch directory.
struct DialogFixture {
  TempDir dir;
  ReferenceLinkTable table;
  ReferenceLinksDialog dialog{table, dir.file("ReferenceLinks.xml"), dialogWindow};

  DialogFixture() { scripted::reset(); }
  ~DialogFixture() { scripted::reset(); }

  /// Opens the dialog as the command does: the table is loaded first.
  void open() {
    loadReferenceLinks(table, dialog.filePath);
    openReferenceLinksDialog(dialog);
  }
  void type(const std::string& word, const std::string& link, LanguageChecks checks = {}) {
    dialog.word = word;
    dialog.link = link;
    dialog.checks = checks;
  }
  void add(const std::string& word, const std::string& link, LanguageChecks checks = {}) {
    type(word, link, checks);
    addTyped(dialog);
  }
  void select(const std::string& line) {
    dialog.selected = -1;
    for (size_t i = 0; i < dialog.list.size(); ++i)
      if (dialog.list[i] == line) dialog.selected = static_cast<int>(i);
    ASSERT_GE(dialog.selected, 0) << line;
  }
  std::string list() const {
    std::string out;
    for (const std::string& line : dialog.list) out += line + ";";
    return out;
  }
  std::string messages() const {
    std::string out;
    for (const scripted::Event& e : scripted::events())
      if (e.kind == "message" || e.kind == "ask") out += e.text + "\n";
    return out;
  }
};

}  // namespace

TEST(ReferenceLinksDialog, OpensWithTheLinkFieldPrefilledAndUpdateDisabled) {
  DialogFixture f;
  f.open();
  EXPECT_EQ(f.dialog.link, "http://");
  EXPECT_FALSE(f.dialog.updateEnabled);
  EXPECT_EQ(goToPageTarget(f.dialog), "http://");  // Go To Page with the field untouched
  EXPECT_EQ(f.list(), "");
  editSelected(f.dialog);
  EXPECT_EQ(f.messages(), "Message: Please select a keyword in the list to edit\n");
  EXPECT_FALSE(f.dialog.updateEnabled);
}

TEST(ReferenceLinksDialog, AddsDuplicatesAsTwoLinesAndEditLoadsTheFirst) {
  DialogFixture f;
  f.open();
  f.add("cout", "http://a/", {true});
  f.add("Beta", "http://b/");
  f.add("cout", "http://c/");
  EXPECT_EQ(f.messages(), "Message: Successfully added!\nMessage: Successfully added!\n"
                          "Message: Successfully added!\n");
  EXPECT_EQ(f.list(), "Beta;cout;cout;");  // letter case ignored by the list's order
  EXPECT_EQ(f.table.links[f.table.index.at("cout")].link, "http://c/");  // pages use the later
  EXPECT_FALSE(f.dialog.updateEnabled);

  for (int line : {1, 2}) {
    f.dialog.selected = line;
    editSelected(f.dialog);
    EXPECT_EQ(f.dialog.word, "cout");
    EXPECT_EQ(f.dialog.link, "http://a/");
    EXPECT_TRUE(f.dialog.updateEnabled);
  }
}

TEST(ReferenceLinksDialog, UpdateOnASharedWordReplacesBothRecords) {
  DialogFixture f;
  f.open();
  f.add("cout", "http://a/");
  f.add("endl", "http://e/");
  f.add("cout", "http://c/");
  f.select("cout");
  editSelected(f.dialog);
  f.type("print", "http://p/", {false, false, true});
  updateEdited(f.dialog);

  EXPECT_EQ(f.list(), "endl;print;print;");
  ASSERT_EQ(f.table.links.size(), 3u);
  EXPECT_EQ(f.table.links[0].link, "http://p/");
  EXPECT_TRUE(f.table.links[0].java);
  EXPECT_EQ(f.table.links[1].word, "endl");
  EXPECT_EQ(f.table.links[2].link, "http://p/");
  EXPECT_TRUE(f.dialog.updateEnabled);
}

TEST(ReferenceLinksDialog, ASecondUpdateChangesTheSameWordAgain) {
  DialogFixture f;
  f.open();
  f.add("alpha", "http://a/");
  f.add("beta", "http://b/");
  f.select("alpha");
  editSelected(f.dialog);
  EXPECT_EQ(f.dialog.editedPosition, 0);

  // Renamed past "beta": the list is sorted again and "beta" now holds line 0.
  f.type("zeta", "http://z/");
  updateEdited(f.dialog);
  EXPECT_EQ(f.list(), "beta;zeta;");
  EXPECT_EQ(f.dialog.editedPosition, 1);

  f.type("zeta2", "http://z2/");
  updateEdited(f.dialog);
  EXPECT_EQ(f.list(), "beta;zeta2;");
  EXPECT_EQ(f.table.links[f.table.index.at("beta")].link, "http://b/");

  // A word typed with a blank reads back without it and is still followed.
  f.type("my word", "http://m/");
  updateEdited(f.dialog);
  EXPECT_EQ(f.list(), "beta;myword;");
  EXPECT_TRUE(f.dialog.updateEnabled);
  EXPECT_EQ(f.dialog.list[f.dialog.editedPosition], "myword");
}

TEST(ReferenceLinksDialog, UpdateFollowsTheRecordAsTheReaderReadsItBack) {
  DialogFixture f;
  f.open();
  f.add("alpha", "http://a/");
  f.add("beta", "http://b/");
  f.select("alpha");
  editSelected(f.dialog);
  f.type("<bad", "http://x/");  // read back with an empty word, listed first
  updateEdited(f.dialog);
  EXPECT_EQ(f.list(), ";beta;");
  EXPECT_EQ(f.dialog.editedPosition, 0);
  f.type("gamma", "http://g/");
  updateEdited(f.dialog);
  EXPECT_EQ(f.list(), "beta;gamma;");
  EXPECT_EQ(f.table.links[f.table.index.at("beta")].link, "http://b/");
}

TEST(ReferenceLinksDialog, DeleteRemovesEveryRecordOfTheWordForGood) {
  DialogFixture f;
  f.open();
  f.add("cout", "http://a/");
  f.add("endl", "http://e/");
  f.add("cout", "http://c/");
  f.select("endl");
  editSelected(f.dialog);
  f.select("cout");

  scripted::reset();
  scripted::answerYesNo({false});
  deleteSelected(f.dialog);
  EXPECT_EQ(f.list(), "cout;cout;endl;");
  EXPECT_TRUE(f.dialog.updateEnabled);

  f.select("cout");
  scripted::answerYesNo({true});
  deleteSelected(f.dialog);
  EXPECT_EQ(f.list(), "endl;");
  EXPECT_FALSE(f.dialog.updateEnabled);
  EXPECT_EQ(f.messages(),
            "Are you sure you want to delete the current reference link?\n"
            "Are you sure you want to delete the current reference link?\n"
            "Message: Successfully deleted!\n");

  // Delete then Add: the deleted records stay deleted.
  f.add("flush", "http://f/");
  EXPECT_EQ(f.list(), "endl;flush;");
  ReferenceLinkTable reread;
  loadReferenceLinks(reread, f.dialog.filePath);
  EXPECT_EQ(reread.links.size(), 2u);
  EXPECT_EQ(reread.index.count("cout"), 0u);

  // Without a selection the confirmation is all that happens.
  scripted::reset();
  scripted::answerYesNo({true});
  f.dialog.selected = -1;
  deleteSelected(f.dialog);
  EXPECT_EQ(f.messages(), "Are you sure you want to delete the current reference link?\n");
  EXPECT_EQ(f.list(), "endl;flush;");
}

TEST(ReferenceLinksDialog, ReadsBlanksAwayAndShowsExactlyTheRecordsFlags) {
  DialogFixture f;
  f.open();
  f.add("my func", "http://x/ y", {false, true, false, true, false});
  EXPECT_EQ(f.list(), "myfunc;");
  f.add("plain", "http://p/", {true, false, false, false, false});

  f.dialog.checks = {true, true, true, true, true};
  f.select("myfunc");
  editSelected(f.dialog);
  EXPECT_EQ(f.dialog.link, "http://x/y");
  EXPECT_FALSE(f.dialog.checks.cpp);
  EXPECT_TRUE(f.dialog.checks.csharp);
  EXPECT_FALSE(f.dialog.checks.java);
  EXPECT_TRUE(f.dialog.checks.vb);
  EXPECT_FALSE(f.dialog.checks.all);
  EXPECT_EQ(dialogItemLine(f.dialog),
            "<item> <csharp/> <vb/> <word> myfunc</word>  <link> http://x/y </link> </item> ");

  // An empty word is written, and listed as an empty line.
  f.add("", "http://e/");
  EXPECT_EQ(f.list(), ";myfunc;plain;");
}

TEST(ReferenceLinksDialog, SaysWhenTheFileCannotBeWritten) {
  DialogFixture f;
  f.dialog.filePath = f.dir.file("missing/ReferenceLinks.xml");
  f.open();
  f.add("cout", "http://a/");
  EXPECT_EQ(f.messages(), "Error: Unable to add!\n");
  EXPECT_EQ(f.list(), "");
}

TEST(ReferenceLinksDialog, AndTheLinksCommandKeepTheSameFile) {
  DialogFixture f;
  const std::string path = f.dialog.filePath;
  auto command = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--links", path});
    return runLinksCommand(args, f.dir.path());
  };
  f.open();
  f.add("my func", "http://x/ f", {true, false, false, true, false});

  // The command lists what the dialog wrote, blanks read away, and adds beside it.
  LinksCommandResult listed = command({"list"});
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.out, "myfunc http://x/f cpp,vb\n");
  LinksCommandResult added = command({"add", "cout", "http://c/", "--lang", "cs,all"});
  EXPECT_EQ(added.status, 0);
  EXPECT_EQ(added.out, "Successfully added!\n");
  EXPECT_EQ(added.err, "");

  // The dialog reads the command's record with its flags, and the file holds exactly what
  // the dialog's own Add writes for the same record.
  f.open();
  EXPECT_EQ(f.list(), "cout;myfunc;");
  f.select("cout");
  editSelected(f.dialog);
  EXPECT_EQ(f.dialog.link, "http://c/");
  EXPECT_TRUE(f.dialog.checks.csharp && f.dialog.checks.all);
  EXPECT_FALSE(f.dialog.checks.cpp || f.dialog.checks.java || f.dialog.checks.vb);
  std::string byCommand, byDialog;
  ASSERT_TRUE(readWholeFile(path, &byCommand));
  f.type("cout", "http://c/", {false, true, false, false, true});
  f.dialog.table.links.pop_back();  // the dialog adds to the table without the command's record
  addTyped(f.dialog);
  ASSERT_TRUE(readWholeFile(path, &byDialog));
  EXPECT_EQ(byCommand, byDialog);

  // A word the command removes leaves the dialog's list; the same word is refused a
  // second time, and a bad language is bad usage.
  EXPECT_EQ(command({"remove", "myfunc"}).out, "Successfully deleted!\n");
  f.open();
  EXPECT_EQ(f.list(), "cout;");
  LinksCommandResult again = command({"remove", "myfunc"});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("there is no reference link for myfunc"), std::string::npos);
  EXPECT_EQ(command({"add", "x", "http://x/", "--lang", "cpp,c"}).status, 2);
  EXPECT_EQ(command({"remove"}).status, 2);
}
