// The line-comment and block-comment passes, alone and through the whole line pass.
#include <gtest/gtest.h>

#include "engine/comments.h"
#include "engine/escape.h"
#include "tests/support/engine_fixture.h"

using namespace quillon;
using namespace testing_support;

TEST(LineComments, RunFromTheMarkerToTheEndOfTheLine) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("x = 1; // set x"), "x" + NB + "=" + NB + "1;" + NB + C + "//" + NB + "set" + NB + "x" + E);
  // A "//" inside a string is not a comment; a later one is.
  EXPECT_EQ(f.line("s = \"http://a\"; // c"),
            "s" + NB + "=" + NB + "\"http://a\";" + NB + C + "//" + NB + "c" + E);
  // A quote right after the marker makes the marker look quoted.
  EXPECT_EQ(f.line("//\"quoted\""), "//\"quoted\"");
}

TEST(LineComments, UseTheApostropheInVisualBasic) {
  EngineFixture f;
  f.as(SourceLanguage::VB);
  EXPECT_EQ(f.line("Dim s ' note"), kw("Dim") + NB + "s" + NB + C + "'" + NB + "note" + E);
  EXPECT_EQ(f.line("s = \"it's\" ' c"), "s" + NB + "=" + NB + "\"it's\"" + NB + C + "'" + NB + "c" + E);
  // "//" and "/*" mean nothing in Visual Basic, and REM is only a keyword.
  EXPECT_EQ(f.line("x = a // b /* c"), "x" + NB + "=" + NB + "a" + NB + "//" + NB + "b" + NB + "/*" + NB + "c");
  EXPECT_FALSE(f.converter.inBlockComment);
  EXPECT_EQ(f.line("REM note"), kw("REM") + NB + "note");
  // Keywords inside a Visual Basic comment are coloured too.
  EXPECT_EQ(f.line("' If"), C + "'" + NB + kw("If") + E);
}

TEST(BlockComments, SpanLinesAndShieldThemFromTheOtherPasses) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  // The line that opens a comment gets no keywords.
  EXPECT_EQ(f.line("int a; /* start"), "int" + NB + "a;" + NB + C + "/*" + NB + "start");
  EXPECT_TRUE(f.converter.inBlockComment);
  EXPECT_EQ(f.line("int inside; // x"), escapeLine("int inside; // x"));
  EXPECT_EQ(f.line("end */ int b;"), "end" + NB + "*/" + E + NB + kw("int") + NB + "b;");
  EXPECT_FALSE(f.converter.inBlockComment);
  // On the line where a block comment closes, keywords in its last part are coloured too.
  f.converter.inBlockComment = true;
  EXPECT_EQ(f.line("int */"), kw("int") + NB + "*/" + E);
  // A keyword first met inside a comment on its line stays plain everywhere on that line.
  EXPECT_EQ(f.line("a /* int */ int"), "a" + NB + C + "/*" + NB + "int" + NB + "*/" + E + NB + "int");
  EXPECT_EQ(f.line("int /* c */"), kw("int") + NB + C + "/*" + NB + "c" + NB + "*/" + E);
}

TEST(BlockComments, ACloseWithoutAnOpenCommentIsText) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  // Its "</font>" would close the page's own font early.
  EXPECT_EQ(f.line("x */ y"), "x" + NB + "*/" + NB + "y");
  EXPECT_EQ(f.line("*//\"\" char"), "*//\"\"" + NB + "char");
  EXPECT_EQ(f.line("*/* c */ int"), "*" + C + "/*" + NB + "c" + NB + "*/" + E + NB + kw("int"));
  EXPECT_FALSE(f.converter.inBlockComment);
  // Closing a comment leaves the "//" after it uncoloured: the line-comment pass ran
  // while the comment was still open. A second "*/" then closes nothing.
  f.converter.inBlockComment = true;
  EXPECT_EQ(f.line("*/ // x"), "*/" + E + NB + "//" + NB + "x");
  f.converter.inBlockComment = true;
  EXPECT_EQ(f.line("a */ b */ int"), "a" + NB + "*/" + E + NB + "b" + NB + "*/" + NB + kw("int"));
}

TEST(BlockComments, MarkersInQuotedStringsAreText) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("s = \"/*\";"), "s" + NB + "=" + NB + "\"/*\";");
  EXPECT_FALSE(f.converter.inBlockComment);
  // The quote test is made for the first "/*" of the line, whichever one is looked at.
  EXPECT_EQ(f.line("s = \"/*\"; /* c"), "s" + NB + "=" + NB + "\"/*\";" + NB + "/*" + NB + "c");
  EXPECT_FALSE(f.converter.inBlockComment);
}

TEST(BlockComments, RespectLineComments) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  // A "/*" inside a line comment opens nothing, so the next line keeps its keywords.
  EXPECT_EQ(f.line("x = 1; // see /* below"),
            "x" + NB + "=" + NB + "1;" + NB + C + "//" + NB + "see" + NB + "/*" + NB + "below" + E);
  EXPECT_FALSE(f.converter.inBlockComment);
  EXPECT_EQ(f.line("int y;"), kw("int") + NB + "y;");
  // A "*/" inside a line comment inserts no stray closing tag.
  EXPECT_EQ(f.line("// skip /* */ comments"),
            C + "//" + NB + "skip" + NB + "/*" + NB + "*/" + NB + "comments" + E);
  // A "//" inside a block comment changes nothing.
  EXPECT_EQ(f.line("/* see http://x.org */ int"),
            C + "/*" + NB + "see" + NB + "http:" + C + "//x.org" + NB + "*/" + E + NB + "int" + E);
  EXPECT_FALSE(f.converter.inBlockComment);
  // A comment closed before the "//" leaves the rest to the line comment.
  EXPECT_EQ(f.line("/* a */ b // c /* d"),
            C + "/*" + NB + "a" + NB + "*/" + E + NB + "b" + NB + C + "//" + NB + "c" + NB + "/*" + NB + "d" + E);
  EXPECT_FALSE(f.converter.inBlockComment);
}

TEST(LineComments, ReportWhereTheColouredMarkerStands) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  std::string line = "a // b";
  EXPECT_EQ(colourLineComment(f.converter, line), 2 + C.size());
  EXPECT_EQ(line.substr(2 + C.size(), 2), "//");
  std::string none = "a b";
  EXPECT_EQ(colourLineComment(f.converter, none), std::string::npos);
  EXPECT_EQ(findLineComment("s = \"//\" + '//'", false), 12u);
  EXPECT_EQ(findLineComment("s = \"it's\" ' c", true), 11u);
  // The quote test measures the marker as two characters in every language, so an
  // apostrophe right before a closing quote counts as a comment.
  EXPECT_EQ(findLineComment("s = \"'\" ' c", true), 5u);
}
