// Gathering records and members from a workspace's files, and their order.
#include <gtest/gtest.h>

#include "classmodel/preprocess.h"
#include "engine/html_text.h"
#include "engine/keyword_sets.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temp_dir.h"

using namespace quillon;
using namespace testing_support;

namespace {

struct Collect : EngineFixture {
  TempDir dir;
  Collect() {
    scripted::reset();
    run.currentDirectory = dir.path();
  }
  /// Preprocesses one file of the given name holding `source`.
  void file(const std::string& name, const std::string& source) {
    dir.write(name, source);
    (isCppFile(name) && (endsWithIgnoreCase(name, ".h") || endsWithIgnoreCase(name, ".hpp"))
         ? converter.project.headerFiles
         : converter.project.sourceFiles)
        .push_back(name);
  }
  void preprocess() { preprocessClassTree(converter); }
};

std::string members(const ClassRecord& r) {
  std::string out;
  for (const MemberRecord& m : r.members) {
    out += m.text + (m.isFunction ? "()" : "") + (m.isPublic ? "+" : "-") + "|";
  }
  return out;
}

std::vector<std::string> names(const std::vector<ClassRecord>& list) {
  std::vector<std::string> out;
  for (const ClassRecord& r : list) out.push_back(r.name);
  return out;
}

}  // namespace

TEST(MemberScan, TakesFunctionsAndDataAtTheBodysOwnDepth) {
  Collect c;
  c.file("shape.h",
         "class Shape {\n"
         "public:\n"
         "    virtual void Draw(int x) const = 0;\n"
         "    int x, y;\n"
         "    char name[32];\n"
         "    int *p;\n"
         "private:\n"
         "    int Get() { return x; }\n"
         "};\n");
  c.preprocess();
  ASSERT_EQ(c.classes.classRecords.size(), 1u);
  const ClassRecord& shape = c.classes.classRecords[0];
  EXPECT_EQ(shape.name, "Shape");
  EXPECT_EQ(shape.page, "shape.h.htm");
  EXPECT_EQ(shape.link, "shape.h.htm#Shape");
  EXPECT_EQ(members(shape), "Draw(int x)()+|x+|y+|name[32]+|*p+|Get()()-|");
  EXPECT_EQ(shape.members[0].icon, "functionicon_public.gif");
  EXPECT_EQ(shape.members[1].icon, "membericon_public.gif");
  EXPECT_EQ(shape.members[5].icon, "functionicon_private.gif");
  EXPECT_EQ(scripted::listLines(), std::vector<std::string>{"Preprocessing class-tree data..."});
}

TEST(MemberScan, FollowsTheDocumentedCutsOfDataAndFunctionTexts) {
  Collect c;
  c.file("a.h",
         "class A {\n"
         "    void Set(int a,\n"
         "             int b);\n"
         "    int x = 5;\n"
         "int f(int a);\n"
         "    void Inline() {\n"
         "        int local;\n"
         "        if (x) { y(); }\n"
         "    }\n"
         "    struct Nested { int n; };\n"
         "};\n"
         "struct S { int s; };\n"
         "struct T\n"
         "{\n"
         "    int t; // int u;\n"
         "    /* int v; */ int w;\n"
         "};\n");
  c.preprocess();
  ASSERT_EQ(c.classes.classRecords.size(), 1u);
  EXPECT_EQ(members(c.classes.classRecords[0]),
            "Set(int a,             int b)()-|=5-|int f(int a)()-|Inline()()-|n-|");
  // A declaration inside a body being scanned gets no record of its own; one complete on
  // its line gets no members.
  EXPECT_EQ(names(c.classes.structRecords), (std::vector<std::string>{"S", "T"}));
  EXPECT_EQ(members(c.classes.structRecords[0]), "");
  EXPECT_EQ(members(c.classes.structRecords[1]), "t+|");
}

TEST(MemberScan, TakesTheFirstEnumeratorOfEachLine) {
  Collect c;
  c.file("e.h",
         "enum Color\n"
         "{\n"
         "    RED = 1,\n"
         "    GREEN,\n"
         "    BLUE\n"
         "};\n"
         "enum Letters {\n"
         "A, B, C,\n"
         "    // only a comment\n"
         "    /* c */ DEE,\n"
         "    /* c */ EEE\n"
         "};\n"
         "enum Single { ONE, TWO };\n"
         // A comment closed from an earlier line before another one opens.
         "enum E {\n"
         "A /* first\n"
         "*/ /* second */\n"
         "*/ /* third */ B\n"
         "};\n"
         "enum After { Z };\n");
  c.preprocess();
  ASSERT_EQ(c.classes.enumRecords.size(), 5u);
  EXPECT_EQ(members(c.classes.enumRecords[0]), "RED +|GREEN+|BLUE+|");
  // Comments before an enumerator are passed over, never taken for it.
  EXPECT_EQ(members(c.classes.enumRecords[1]), "A+|DEE+|EEE+|");
  EXPECT_EQ(members(c.classes.enumRecords[2]), "");
  EXPECT_EQ(members(c.classes.enumRecords[3]), "A+|B+|");
  EXPECT_EQ(c.classes.enumRecords[4].name, "After");
}

TEST(MemberScan, CutsVeryLongMemberTexts) {
  Collect c;
  std::string longName(600, 'm');
  c.file("l.h", "class L {\n    void " + longName + "();\n    int " + longName + ";\n};\n");
  c.preprocess();
  ASSERT_EQ(c.classes.classRecords.size(), 1u);
  ASSERT_EQ(c.classes.classRecords[0].members.size(), 2u);
  EXPECT_EQ(c.classes.classRecords[0].members[0].text, longName.substr(0, 499));
  EXPECT_EQ(c.classes.classRecords[0].members[1].text, longName.substr(0, 499));
}

TEST(MemberScan, ForwardDeclarationRunsOnToTheNextBodyAndStopsAtTheEnd) {
  Collect c;
  c.file("f.h",
         "class Fwd;\n"
         "class Real {\n"
         "public:\n"
         "    void Go();\n"
         "};\n"
         "class After { int a; };\n"
         "class Open {\n"
         "    int never_closed;\n");
  c.preprocess();
  // The forward declaration's scan consumes Real's body; After is complete on its line;
  // Open's scan reaches the end of the file.
  EXPECT_EQ(names(c.classes.classRecords), (std::vector<std::string>{"Fwd;", "After", "Open"}));
  EXPECT_EQ(members(c.classes.classRecords[0]), "Go()()+|");
  EXPECT_EQ(members(c.classes.classRecords[2]), "never_closed-|");
}

TEST(Preprocessing, VisitsHeadersFirstAndSortsOnlyWhenAsked) {
  Collect c;
  c.file("a.cpp", "class Alpha {};\n");
  c.file("b.h", "class Beta {};\n");
  c.preprocess();
  EXPECT_EQ(names(c.classes.classRecords), (std::vector<std::string>{"Beta", "Alpha"}));
  sortClassRecords(c.classes);
  EXPECT_EQ(names(c.classes.classRecords), (std::vector<std::string>{"Alpha", "Beta"}));
  EXPECT_EQ(c.classes.classRecords[0].page, "a.cpp.htm");
}

TEST(Preprocessing, SortsNamesByByteValue) {
  ClassModel model;
  for (const char* n : {"cls", "alpha", "FooBar", "C_Impl", "Foo;", "Zeta", "CView"})
    model.classRecords.push_back({n, "", "", {}});
  sortClassRecords(model);
  EXPECT_EQ(names(model.classRecords),
            (std::vector<std::string>{"CView", "C_Impl", "Foo;", "FooBar", "Zeta", "alpha", "cls"}));
}

TEST(Preprocessing, ReadsEveryFileByItsOwnRules) {
  Collect c;
  c.as(SourceLanguage::VB);  // as if a Visual Basic file had been converted just before
  c.file("q.h", "/*\nclass Hidden {};\n*/\nclass Shown { char c = '\\''; int after; };\n");
  c.file("Form1.vb", "Public Class VbClass\n' it's a comment\nEnd Class\n");
  c.file("P.cs", "public class Program {\n    static void Main() {}\n}\n");
  c.file("u.js", "class Widget {\n}\n");
  c.file("App.java", "class App {\n    int n;\n}\n");
  c.file("r.rc", "class NotRead {};\n");
  c.preprocess();
  EXPECT_EQ(names(c.classes.classRecords),
            (std::vector<std::string>{"Shown", "Program", "Widget", "App"}));
  EXPECT_EQ(members(c.classes.classRecords[1]), "Main()()-|");
  EXPECT_EQ(members(c.classes.classRecords[3]), "n-|");
}

// The class tree and the name links lead to the anchors of the pages: whatever the
// gathering records, the page of its file must anchor, in every language and with added
// keywords (a name the page colours as a keyword gets no anchor there).
TEST(Preprocessing, RecordsOnlyWhatThePagesAnchor) {
  Collect c;
  KeywordAdditions added;
  added.words[0] = {"MYAPI"};
  c.settings.keywords = std::make_shared<const KeywordSet>(added);
  c.file("min.js", "var a=1;FD=class extends v2{constructor(t,e){super(t);this.x=e}};\n"
                   "q=class implements{};class Kept extends Base { int t; }\n");
  c.file("S.java", "struct NotJava { int x; }\nenum Colour { RED }\nclass App {}\n");
  c.file("K.cs", "class string {}\nclass @Verbatim {}\nstruct Point { int X; }\n");
  c.file("api.h", "class MYAPI Widget {};\nstruct final {};\nclass Plain;\nenum class E { A };\n");
  c.preprocess();
  std::vector<std::string> recorded;
  for (const auto* list : {&c.classes.classRecords, &c.classes.structRecords,
                           &c.classes.enumRecords})
    for (const ClassRecord& r : *list) recorded.push_back(r.link);
  EXPECT_EQ(recorded, (std::vector<std::string>{"api.h.htm#Plain;", "S.java.htm#App",
                                                "K.cs.htm#@Verbatim", "api.h.htm#final",
                                                "S.java.htm#NotJava", "K.cs.htm#Point",
                                                "S.java.htm#Colour"}));
  indexClassNames(c.classes);
  for (const std::string& link : recorded) {
    const std::string page = link.substr(0, link.find('#'));
    const std::string source = page.substr(0, page.size() - 4);
    convertPage(c.converter, {source, c.dir.path(), c.dir.path(), page});
    const std::string name = link.substr(page.size() + 1);
    EXPECT_NE(c.dir.read(page).find("<a name=\"" + attributeText(name) + "\">"),
              std::string::npos)
        << link;
  }
}

TEST(Preprocessing, ReadsAFileListedTwiceTwiceAndSkipsMissingOnes) {
  Collect c;
  c.file("d.h", "struct D {};\n");
  c.converter.project.headerFiles.push_back("d.h");
  c.converter.project.headerFiles.push_back("missing.h");
  c.preprocess();
  EXPECT_EQ(names(c.classes.structRecords), (std::vector<std::string>{"D", "D"}));
}

TEST(Preprocessing, SkipsPicturesAndProgramsNamedLikeSources) {
  Collect c;
  c.file("logo.h", std::string("\x89PNG\r\n\x1a\n\0\0\nclass Hidden {\n};\n", 29));
  c.file("real.h", std::string("class Real {\n};\0\n", 17));
  c.preprocess();
  EXPECT_EQ(names(c.classes.classRecords), std::vector<std::string>{"Real"});
}

TEST(Preprocessing, EndsAtOnceOnAStopRequest) {
  Collect c;
  c.file("s.h", "class S {};\n");
  c.run.stopRequested = true;
  c.preprocess();
  EXPECT_TRUE(c.classes.classRecords.empty());
  EXPECT_EQ(scripted::listLines(), std::vector<std::string>{"Preprocessing class-tree data..."});
}

TEST(Preprocessing, GivesTheSameListsOnSeveralThreadsAsOneAfterAnother) {
  auto gather = [](int jobs) {
    Collect c;
    c.settings.jobs = jobs;
    for (int i = 0; i < 40; ++i) {
      const std::string n = std::to_string(i);
      std::string source = "class C" + n + " {\npublic:\n  void f" + n + "(int a,\n  int b);\n};\n" +
                           "struct S" + n + " { int x, y; };\nenum E" + n + " { A" + n + ", B };\n";
      // An unclosed comment carries over into the next file (the headers come first, in
      // list order), hiding its first class.
      if (i == 4 || i == 22) source += "/* never closed\n";
      if (i == 5 || i == 23) source = "class Hidden" + n + " {};\n*/\n" + source;
      c.file((i % 2 ? "f" : "g") + n + (i % 3 ? ".h" : ".cpp"), source);
    }
    c.preprocess();
    std::string all;
    for (const auto* list : {&c.classes.classRecords, &c.classes.structRecords,
                             &c.classes.enumRecords})
      for (const ClassRecord& r : *list) all += r.name + "@" + r.link + ":" + members(r) + "\n";
    return all;
  };
  const std::string oneByOne = gather(1);
  EXPECT_EQ(oneByOne.find("Hidden"), std::string::npos);
  EXPECT_NE(oneByOne.find("C38@g38.h.htm#C38:f38(int a,  int b)()+|"), std::string::npos)
      << oneByOne;
  EXPECT_EQ(gather(3), oneByOne);
  EXPECT_EQ(gather(2), oneByOne);
}
