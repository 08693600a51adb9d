// Include links and reference links, through the whole line pass.
#include <gtest/gtest.h>

#include "engine/escape.h"
#include "engine/reference_link_pass.h"
#include "tests/support/engine_fixture.h"

using namespace quillon;
using namespace testing_support;

namespace {
std::string refLink(const std::string& url, const std::string& word) {
  return "<a href=\"" + url + "\" target=\"_blank\" style=\"text-decoration:none;color:#000000\">" +
         word + "</a>";
}
}  // namespace

TEST(IncludeLinks, LinkQuotedNamesToTheirPages) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("#include \"stdafx.h\""),
            kw("#include") + NB + "\"<a href=\"stdafx.h.htm\">stdafx.h</a>\"");
  EXPECT_EQ(f.line("#include \"../common/util.h\""),
            kw("#include") + NB + "\"<a href=\"util.h.htm\">../common/util.h</a>\"");
  EXPECT_EQ(f.line("#include \"sub\\dir\\x.h\""),
            kw("#include") + NB + "\"<a href=\"x.h.htm\">sub\\dir\\x.h</a>\"");
  EXPECT_EQ(f.line("#include \"my file.h\""),
            kw("#include") + NB + "\"<a href=\"my&nbsp;file.h.htm\">my&nbsp;file.h</a>\"");
  // Names in angle brackets are not linked.
  EXPECT_EQ(f.line("#include <vector>"), kw("#include") + NB + "&ltvector&gt");
}

TEST(IncludeLinks, IgnoreStringsAndBlockCommentsButNotLineComments) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("s = \"#include\" \"a.h\";"), escapeLine("s = \"#include\" \"a.h\";"));
  EXPECT_EQ(f.line("// #include \"a.h\""),
            C + "//" + NB + "#include" + NB + "\"<a href=\"a.h.htm\">a.h</a>\"" + E);
  f.converter.inBlockComment = true;
  EXPECT_EQ(f.line("#include \"a.h\""), escapeLine("#include \"a.h\""));
}

TEST(IncludeLinks, LeaveALineWithOneQuoteAlone) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("#include \"a.h"), kw("#include") + NB + "\"a.h");
  EXPECT_EQ(f.line("#include 'a.h' // \""), kw("#include") + NB + "'a.h'" + NB + C + "//" + NB + "\"" + E);
}

TEST(ReferenceLinks, LinkTableWordsOutsideStringsAndComments) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  f.addLink("printf", "http://x.org/printf");
  EXPECT_EQ(f.line("printf(\"hi\");"), refLink("http://x.org/printf", "printf") + "(\"hi\");");
  EXPECT_EQ(f.line("x; // printf"), "x;" + NB + C + "//" + NB + "printf" + E);
  EXPECT_EQ(f.line("s = \"printf\";"), escapeLine("s = \"printf\";"));
  f.converter.inBlockComment = true;
  EXPECT_EQ(f.line("printf"), "printf");
  f.converter.inBlockComment = false;
  // The URL as written: "&copy" stays those letters rather than becoming a sign.
  f.addLink("puts", "http://x.org/?a=1&copy;2");
  EXPECT_EQ(f.line("puts(s);"), refLink("http://x.org/?a=1&amp;copy;2", "puts") + "(s);");
}

TEST(ReferenceLinks, AWebAddressEndsTheLinkingOfItsLine) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  f.addLink("printf", "http://x.org/printf");
  f.addLink("strcpy", "http://x.org/strcpy");
  EXPECT_EQ(f.line("printf(a); strcpy(b);"),
            refLink("http://x.org/printf", "printf") + "(a);" + NB + "strcpy(b);");
  EXPECT_EQ(f.line("strcpy(a); printf(b); strcpy(c);"),
            refLink("http://x.org/strcpy", "strcpy") + "(a);" + NB + "printf(b);" + NB + "strcpy(c);");
}

TEST(ReferenceLinks, ALinkWithoutDoubleSlashLinksEveryOccurrence) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  f.addLink("foo", "foo.htm");
  EXPECT_EQ(f.line("int a = foo(1) + foo(2);"),
            kw("int") + NB + "a" + NB + "=" + NB + refLink("foo.htm", "foo") + "(1)" + NB + "+" + NB +
                refLink("foo.htm", "foo") + "(2);");
  // A digit, underscore or hyphen before the word does not keep it from being linked.
  EXPECT_EQ(f.line("foo x_foo"), refLink("foo.htm", "foo") + NB + "x_" + refLink("foo.htm", "foo"));
  EXPECT_EQ(f.line("foo xfoo"), refLink("foo.htm", "foo") + NB + "xfoo");
  f.addLink("bar", "b.htm");
  // The quoted bar ends the scan before bar() is reached.
  EXPECT_EQ(f.line("s = \"bar\"; bar();"), escapeLine("s = \"bar\"; bar();"));
}

TEST(ReferenceLinks, ApplyToEveryLanguageWhateverTheirFlags) {
  EngineFixture f;
  f.as(SourceLanguage::VB);
  f.links.links.push_back({"MsgBox", "msgbox.htm", true, false, false, false, false});
  f.links.index["MsgBox"] = 0;
  EXPECT_EQ(f.line("MsgBox x"), refLink("msgbox.htm", "MsgBox") + NB + "x");
}

TEST(ReferenceLinks, LaterRecordOfAWordWins) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  f.addLink("w", "first.htm");
  f.addLink("w", "second.htm");
  EXPECT_EQ(f.line("w"), refLink("second.htm", "w"));
}

TEST(LinkWord, PlainVariantHasNoTarget) {
  EngineFixture f;
  std::string line = "Foo x";
  linkWord(f.converter, line, "Foo", "a.h.htm#Foo", 0, LinkVariant::Plain);
  EXPECT_EQ(line, "<a href=\"a.h.htm#Foo\" style=\"text-decoration:none;color:#000000\">Foo</a> x");
}

TEST(ReferenceLinks, EmptyTableLeavesLinesAlone) {
  EngineFixture f;
  f.as(SourceLanguage::None);
  EXPECT_EQ(f.line("printf(x);"), "printf(x);");
}

TEST(IncludeLinks, TargetWithAUrlSchemeIsMadeRelative) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("#include \"javascript:alert(1)\""),
            kw("#include") + NB + "\"<a href=\"./javascript:alert(1).htm\">javascript:alert(1)</a>\"");
  EXPECT_EQ(f.line("#include \"JavaScript:x\""),
            kw("#include") + NB + "\"<a href=\"./JavaScript:x.htm\">JavaScript:x</a>\"");
  EXPECT_EQ(f.line("#include \"c:\\\\x.h\""), kw("#include") + NB + "\"<a href=\"x.h.htm\">c:\\\\x.h</a>\"");
}

TEST(ReferenceLinks, AWordIsLinkedByOneCallPerLineEvenWhenTheScanComesBackToIt) {
  // The link of a1 is placed at its first occurrence, far before the scanned one, and the
  // scan goes on from the same position in the longer line: it meets the scanned a1
  // again. A second call would nest another link at the first occurrence and push the
  // scan back again, without end; the word is not linked again on its line.
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  f.addLink("a1", "x.htm");
  std::string filler, escapedFiller;
  for (int i = 0; i < 40; ++i) {
    filler += "zz ";
    escapedFiller += "zz" + NB;
  }
  EXPECT_EQ(f.line("1a1 " + filler + "/*a1*/"),
            "1" + refLink("x.htm", "a1") + NB + escapedFiller + C + "/*a1*/" + E);
}

TEST(PlacedNames, LinkTheCountedOccurrenceOfANameAndPassOverReferencesAndLinks) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  f.addLink("b", "http://b.example/");
  PagePlacedNames placed;
  // (A place named twice gets one link, the first one's.) A definition's own place is its
  // anchor alone; a link whose value holds more than letters, digits and a few marks keeps
  // its quotes.
  placed.names = {{1, 0, "a", "#x1.2", "x1.2"}, {1, 0, "a", "#twice", ""},
                  {1, 2, "a", "#x1.2", ""}, {1, 3, "a", "#x1.2", ""},
                  {1, 1, "b", "b&amp;c.h.htm#x3.2", ""}, {1, 0, "b", "b.h.htm#x3.2", ""},
                  {2, 0, "c$d", "#x2.0", "x2.0"}};
  f.converter.placedNames = &placed;
  f.converter.input.openText("b,a=a&&a<a||b; // a\nc$d c\n");
  std::string raw;
  ASSERT_TRUE(f.converter.input.readLine(raw));
  auto to = [&](const std::string& href, const std::string& word) {
    return "<a href=" + href + ">" + word + "</a>";
  };
  // The first "b" is a reference link already: counted, not linked again; a name after a
  // character reference ("&amp;", "&lt") is found.
  EXPECT_EQ(f.line(raw), refLink("http://b.example/", "b") + ",<a name=x1.2>a</a>=a&&amp;" +
                             to("#x1.2", "a") + "&lt" + to("#x1.2", "a") + "||" +
                             to("\"b&amp;c.h.htm#x3.2\"", "b") + ";" + NB + C + "//" + NB + "a" +
                             E);
  ASSERT_TRUE(f.converter.input.readLine(raw));
  EXPECT_EQ(f.line(raw), "<a name=x2.0>c$d</a>" + NB + "c");
}
