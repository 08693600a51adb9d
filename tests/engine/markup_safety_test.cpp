// Hostile lines through the whole line pass: whatever the quotes, names and words of the
// source, a converted line holds only the passes' own tags, never one inside another, and
// the escaped source text between them.
#include <gtest/gtest.h>

#include "engine/text_tests.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/markup_check.h"

using namespace quillon;
using namespace testing_support;

namespace {
const std::string style = " style=\"text-decoration:none;color:#000000\">";

struct SafetyFixture : EngineFixture {
  SafetyFixture() { as(SourceLanguage::Cpp); }
  void record(std::vector<ClassRecord>& list, const std::string& name, const std::string& page) {
    list.push_back({name, page + "#" + name, page, {}});
    indexClassNames(classes);
  }
  /// The converted line, after checking its markup.
  std::string safe(const std::string& source) {
    std::string converted = line(source);
    std::string problem;
    EXPECT_TRUE(checkConvertedLine(converted, source, &problem)) << problem << "\n" << converted;
    return converted;
  }
};
}  // namespace

TEST(MarkupSafety, KeywordsInAnIncludedNameStayOutOfItsLink) {
  SafetyFixture f;
  EXPECT_EQ(f.safe("#include \"int.h\""),
            kw("#include") + NB + "\"<a href=\"int.h.htm\">int.h</a>\"");
  EXPECT_EQ(f.safe("#include \"class.h\" // new"),
            kw("#include") + NB + "\"<a href=\"class.h.htm\">class.h</a>\"" + NB + C + "//" + NB +
                "new" + E);
}

TEST(MarkupSafety, AQuoteOfTheSourceCannotMoveMarkupIntoATag) {
  SafetyFixture f;
  f.addLink("printf", "http://x.org/printf");
  // The char literal leaves one double quote: the URL's "//" must not open a comment.
  EXPECT_EQ(f.safe("c = '\"'; printf(x);"),
            "c" + NB + "=" + NB + "'\"';" + NB +
                "<a href=\"http://x.org/printf\" target=\"_blank\"" + style + "printf</a>(x);");
  f.safe("x \" printf(a) // int");
  f.safe("\"#include \"int.h\" \" int");
}

TEST(MarkupSafety, NamesSpeltLikeTheMarkupAreLinkedOnlyInTheText) {
  SafetyFixture f;
  f.addLink("printf", "p.htm");
  f.record(f.classes.structRecords, "a", "a.h.htm");
  f.record(f.classes.classRecords, "href", "b.h.htm");
  f.record(f.classes.classRecords, "font", "c.h.htm");
  EXPECT_EQ(f.safe("printf(a);"), "<a href=\"p.htm\" target=\"_blank\"" + style + "printf</a>(a);");
  f.safe("#include \"a.h\" href // font");
  EXPECT_EQ(f.safe("a x;"), "<a href=\"a.h.htm#a\"" + style + "a</a>" + NB + "x;");
}

TEST(MarkupSafety, TheEscapingsEntitiesAreNeverSplitByALink) {
  SafetyFixture f;
  f.record(f.classes.structRecords, "lt", "l.h.htm");
  f.record(f.classes.structRecords, "nbsp", "n.h.htm");
  f.addLink("gt", "g.htm");
  // Only a word's first occurrence is examined, here the letters of "&lt".
  EXPECT_EQ(f.safe("if (a < b && c > d) lt x;"),
            kw("if") + NB + "(a" + NB + "&lt" + NB + "b" + NB + "&&" + NB + "c" + NB + "&gt" + NB +
                "d)" + NB + "lt" + NB + "x;");
  EXPECT_EQ(f.safe("lt x;"), "<a href=\"l.h.htm#lt\"" + style + "lt</a>" + NB + "x;");
  f.safe("#ifndef DISPLAY_H");

  // A "&" that a browser would take for the start of a reference is written "&amp;";
  // the other ones keep their byte.
  EXPECT_EQ(f.safe("g(&param, &notify, &regs, &copy_len, &current_pos)"),
            "g(&amp;param," + NB + "&amp;notify," + NB + "&amp;regs," + NB + "&amp;copy_len," + NB +
                "&amp;current_pos)");
  EXPECT_EQ(f.safe("/// &lt;b&gt; &amp; &#39; &#x41; &nbsp;"),
            C + "///" + NB + "&amp;lt;b&amp;gt;" + NB + "&amp;amp;" + NB + "&amp;#39;" + NB +
                "&amp;#x41;" + NB + "&amp;nbsp;" + E);
  // Its letters are no word to link, while a word or keyword right after it is one.
  f.record(f.classes.classRecords, "amp", "a.h.htm");
  f.addLink("param", "p.htm");
  EXPECT_EQ(f.safe("g(&x); amp y;"), "g(&amp;x);" + NB + "amp" + NB + "y;");
  EXPECT_EQ(f.safe("amp y;"), "<a href=\"a.h.htm#amp\"" + style + "amp</a>" + NB + "y;");
  EXPECT_EQ(f.safe("g(&param, &&int, & x, &(y), &#39;);"),
            "g(&amp;<a href=\"p.htm\" target=\"_blank\"" + style + "param</a>," + NB + "&&amp;" +
                kw("int") + "," + NB + "&" + NB + "x," + NB + "&(y)," + NB + "&amp;#39;);");
  f.safe("struct amp &amp; \"&amp\" /* &amp */ int&amp&lt&gt&nbsp");
}

TEST(MarkupSafety, ClassLinksFromHostileFileNamesOnlyNameFiles) {
  SafetyFixture f;
  f.record(f.classes.classRecords, "Foo", "javascript&colon;alert(1) \".h.htm");
  f.record(f.classes.structRecords, "Bar", "x\" onmouseover=\"alert(1).h.htm");
  EXPECT_EQ(f.safe("Foo f;"),
            "<a href=\"javascript%26colon;alert(1) %22.h.htm#Foo\"" + style + "Foo</a>" + NB + "f;");
  EXPECT_EQ(f.safe("Bar b;"),
            "<a href=\"x%22 onmouseover=%22alert(1).h.htm#Bar\"" + style + "Bar</a>" + NB + "b;");
  f.safe("#include \"java&#115;cript:x\"");
  EXPECT_EQ(f.safe("#include \"\x01javascript:x\""),
            kw("#include") + NB + "\"<a href=\"./\x01javascript:x.htm\">\x01javascript:x</a>\"");
}

TEST(MarkupSafety, CommentMarkersInsideALinkAreNotComments) {
  SafetyFixture f;
  f.addLink("w", "http://x.org/a*/b/*c");
  f.safe("w(1); /* c */ int");
  f.safe("'\"' w(1); /* c */ int");
  f.safe("\" w \" w /* x");
}

TEST(MarkupSafety, APlaceInsideAnInsertedTagCountsAsQuoted) {
  const std::string line = "x&nbsp;<a href=\"a.htm\" style=\"s\">int</a>&nbsp;\"y\"";
  EXPECT_TRUE(insideTag(line, line.find("href")));
  EXPECT_TRUE(insideTag(line, line.find("a.htm")));
  EXPECT_TRUE(insideQuotes(line, "style"));
  EXPECT_FALSE(insideTag(line, line.find("int")));
  EXPECT_FALSE(insideQuotes(line, "int"));
  EXPECT_TRUE(insideQuotes(line, "y"));
  // A raw line, as the member scan reads it, may hold a "<" of its own.
  EXPECT_FALSE(insideTag("if (a <b) // c", 10));
  EXPECT_FALSE(insideTag("x <= y; // c", 8));
}
