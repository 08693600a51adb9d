// The class tree block, and links from recorded names to their declarations.
#include <gtest/gtest.h>

#include "classmodel/class_tree.h"
#include "classmodel/preprocess.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/temp_dir.h"

using namespace quillon;
using namespace testing_support;

namespace {

ClassRecord record(const std::string& name, const std::string& page,
                   std::vector<std::string> memberTexts = {}) {
  ClassRecord r{name, page + "#" + name, page, {}};
  for (const std::string& t : memberTexts) r.members.push_back({t, "membericon_public.gif", false, true});
  return r;
}

std::string nodeLine(int n, const std::string& name, const std::string& page, const std::string& icon,
                     const std::string& connector, bool opener) {
  const std::string item = "ClassItem" + std::to_string(n);
  std::string line = "\t\t\t\t<nobr><a name=\"" + item + "a\"";
  if (opener) line += " href=\"#" + name + "\" onClick=\"tree_iconclick('" + item + "')\"";
  return line + "><img name=\"" + item + "_o\" src=\"images/" + connector +
         "\" align=\"absmiddle\" border=\"0\"><img src=\"images/" + icon +
         "\" class=\"tree_icon\" align=\"absmiddle\" border=\"0\"></a><a name=\"" + name +
         "\" HREF=\"" + page + "#" + name + "\" ID=\"" + item +
         "a\" target=\"source_frame\" onClick=\"SendTabText('" + page + "');\" class=\"tree_pitem\">" +
         name + "</a></nobr>";
}

std::string leaf(const std::string& first, const std::string& connector, const std::string& icon,
                 const std::string& href, const std::string& page, const std::string& text) {
  return "\t\t\t\t<DIV><nobr><img src=\"images/" + first + "\" align=\"absmiddle\"><img src=\"images/" +
         connector + "\" align=\"absmiddle\"><img src=\"images/" + icon +
         "\" align=\"absmiddle\" class=\"tree_icon\" border=0><a HREF=\"" + href +
         "\" target=\"source_frame\" onClick=\"SendTabText('" + page + "');\" class=tree_citem>" + text +
         "</a></nobr></DIV>";
}

}  // namespace

TEST(ClassTree, OneClassWithTwoMembers) {
  ClassModel model;
  model.classRecords.push_back(record("Point", "main.cpp.htm", {"x", "y"}));
  std::vector<std::string> lines;
  buildClassTree(model, lines);
  const std::string m = "membericon_public.gif", h = "main.cpp.htm#Point", p = "main.cpp.htm";
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "\t\t\t<div ID=\"ClassItem1\" class=\"tree_parent\">",
                       nodeLine(1, "Point", p, "classicon.gif", "Lplus.gif", true),
                       "\t\t\t</div>\n",
                       "\t\t\t<div ID=\"ClassItem1Child\" CLASS=\"tree_child\">",
                       leaf("white.gif", "T.gif", m, h, p, "x"),
                       leaf("white.gif", "L.gif", m, h, p, "y"),
                       "\t\t\t</div>\n",
                   }));
}

TEST(ClassTree, NumbersNodesAcrossTheListsAndMarksOnlyTheVeryLastNode) {
  ClassModel model;
  model.classRecords.push_back(record("A", "a.h.htm", {"a1"}));
  model.classRecords.push_back(record("B", "b.h.htm"));
  model.structRecords.push_back(record("S", "s.h.htm", {"s1"}));
  std::vector<std::string> lines;
  buildClassTree(model, lines);
  ASSERT_EQ(lines.size(), 4u + 2u + 4u + 1u + 4u + 2u);
  EXPECT_EQ(lines[1], nodeLine(1, "A", "a.h.htm", "classicon.gif", "Tplus.gif", true));
  EXPECT_EQ(lines[2 + 2], leaf("I.gif", "L.gif", "membericon_public.gif", "a.h.htm#A", "a.h.htm", "a1"));
  // A node without members has a plain connector and an empty child division.
  EXPECT_EQ(lines[7], nodeLine(2, "B", "b.h.htm", "classicon.gif", "T.gif", false));
  EXPECT_EQ(lines[9], "\t\t\t<div ID=\"ClassItem2Child\" CLASS=\"tree_child\">");
  EXPECT_EQ(lines[10], "\t\t\t</div>\n");
  EXPECT_EQ(lines[12], nodeLine(3, "S", "s.h.htm", "structicon.gif", "Lplus.gif", true));
  EXPECT_EQ(lines[15], leaf("white.gif", "L.gif", "membericon_public.gif", "s.h.htm#S", "s.h.htm", "s1"));

  ClassModel empty;
  std::vector<std::string> none;
  buildClassTree(empty, none);
  EXPECT_TRUE(none.empty());
}

TEST(ClassTree, WritesNamesWithColonsAsTheyAre) {
  ClassModel model;
  model.enumRecords.push_back(record("E;", "e.h.htm"));
  std::vector<std::string> lines;
  buildClassTree(model, lines);
  EXPECT_EQ(lines[1], nodeLine(1, "E;", "e.h.htm", "enumicon.gif", "L.gif", false));
}

TEST(ClassTree, KeepsSourceTextFromBecomingMarkupOrScript) {
  ClassModel model;
  ClassRecord r = record("Q\"x", "it's.h.htm",
                         {"f(std::map<int,int> m)", "g(int &param, Foo &&r, &copy)"});
  model.classRecords.push_back(r);
  std::vector<std::string> lines;
  buildClassTree(model, lines);
  EXPECT_NE(lines[1].find("<a name=\"Q&quot;x\" HREF=\"it's.h.htm#Q%22x\""), std::string::npos);
  EXPECT_NE(lines[1].find("SendTabText('it\\'s.h.htm')"), std::string::npos);
  EXPECT_NE(lines[4].find(">f(std::map&lt;int,int&gt; m)</a>"), std::string::npos);
  // A "&" before a letter would start a character reference ("&param" shows a pilcrow, "m").
  EXPECT_NE(lines[5].find(">g(int &amp;param, Foo &&amp;r, &amp;copy)</a>"), std::string::npos);
}

namespace {
/// A class-name link as the class-link pass writes it with the default colours.
std::string classLink(const std::string& target, const std::string& text) {
  return "<a href=\"" + target + "\" style=\"text-decoration:none;color:#000000\">" + text + "</a>";
}
}  // namespace

TEST(ClassNameLinks, LinkRecordedNamesExceptOnTheirKindsKeywordLines) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  f.classes.classRecords.push_back(record("Foo", "a.h.htm"));
  f.classes.structRecords.push_back(record("Bar", "b.h.htm"));
  indexClassNames(f.classes);
  const std::string foo = classLink("a.h.htm#Foo", "Foo");
  const std::string bar = classLink("b.h.htm#Bar", "Bar");
  EXPECT_EQ(f.line("Foo f;"), foo + NB + "f;");
  EXPECT_EQ(f.line("Foo a, Foo b;"), foo + NB + "a," + NB + foo + NB + "b;");
  EXPECT_EQ(f.line("friend class Foo;"), "friend" + NB + kw("class") + NB + "<a name=\"Foo;\"></a>Foo;");
  EXPECT_EQ(f.line("class X : Bar {"), kw("class") + NB + "<a name=\"X\">X</a>" + NB + ":" + NB + bar + NB + "{");
  EXPECT_EQ(f.line("// Foo"), C + "//" + NB + "Foo" + E);
  EXPECT_EQ(f.line("s = \"Foo\";"), "s" + NB + "=" + NB + "\"Foo\";");
}

TEST(ClassNameLinks, StillLinkAfterTheRunThatRecordedThem) {
  EngineFixture f;
  TempDir dir;
  dir.write("w.h", "class Widget {\n};\n");
  dir.write("main.cpp", "Widget w;\n");
  f.run.currentDirectory = dir.path();
  f.converter.project.headerFiles = {"w.h"};
  preprocessClassTree(f.converter);
  f.settings.sourceDirectory = f.settings.outputDirectory = dir.path();
  SourceFileConverter page(f.context, "main.cpp");
  EXPECT_NE(dir.read("main.cpp.htm").find("<a href=\"w.h.htm#Widget\""), std::string::npos);
}

TEST(ClassNameLinks, ANameOfManyRecordsLinksToTheFirstItsLineAllows) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  for (const char* page : {"a.h.htm", "b.h.htm", "c.h.htm"})
    f.classes.classRecords.push_back(record("Foo", page));
  f.classes.structRecords.push_back(record("Foo", "s.h.htm"));
  indexClassNames(f.classes);
  const std::string foo = classLink("a.h.htm#Foo", "Foo");
  EXPECT_EQ(f.line("Foo f; Foo g;"), foo + NB + "f;" + NB + foo + NB + "g;");
  // A class line takes no class links, so the struct of that name is linked.
  EXPECT_EQ(f.line("class X : Foo {"), kw("class") + NB + "<a name=\"X\">X</a>" + NB + ":" + NB +
                                           classLink("s.h.htm#Foo", "Foo") + NB + "{");
}

TEST(ClassNameLinks, LeaveTheAnchorOfADeclarationTheNameItsRecordLinks) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  f.classes.classRecords.push_back(record("Helper", "h.h.htm"));
  f.classes.structRecords.push_back(record("base_function", "b.h.htm"));
  indexClassNames(f.classes);
  const std::string base = classLink("b.h.htm#base_function", "base_function");
  const std::string helper = classLink("h.h.htm#Helper", "Helper");
  // The later mention links the struct's name inside the class name too (an underscore
  // does not end a word there); the anchor still carries the whole name and closes
  // before that link.
  EXPECT_EQ(f.line("class my_base_function : public base_function {"),
            kw("class") + NB + "<a name=\"my_base_function\">my_</a>" + base + NB + ":" + NB +
                kw("public") + NB + base + NB + "{");
  // A struct declared with the name of a class: the name is a class link, and the anchor
  // stands empty right before it.
  EXPECT_EQ(f.line("struct Helper {"), kw("struct") + NB + "<a name=\"Helper\"></a>" + helper + NB + "{");
  // A variable of that struct type is still no declaration.
  EXPECT_EQ(f.line("struct Helper h;"), kw("struct") + NB + helper + NB + "h;");
}
