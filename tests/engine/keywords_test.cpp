// The keyword pass, on escaped lines, for each language's table.
#include <gtest/gtest.h>

#include "engine/escape.h"
#include "engine/keywords.h"
#include "tests/support/engine_fixture.h"

using namespace quillon;
using namespace testing_support;

namespace {
std::string coloured(EngineFixture& f, std::string_view source, SourceLanguage language) {
  std::string line = escapeLine(source);
  colourKeywords(f.converter, line, language);
  return line;
}
}  // namespace

TEST(KeywordTables, HaveTheirEntriesInOrderWithDuplicates) {
  EXPECT_EQ(keywordTableFor(SourceLanguage::Cpp).size, 60u);
  EXPECT_EQ(keywordTableFor(SourceLanguage::None).size, 60u);
  EXPECT_EQ(keywordTableFor(SourceLanguage::CSharp).size, 89u);
  EXPECT_EQ(keywordTableFor(SourceLanguage::Java).size, 104u);
  EXPECT_EQ(keywordTableFor(SourceLanguage::VB).size, 139u);
  EXPECT_EQ(keywordTableFor(SourceLanguage::Cpp).words[0], "using&nbsp;namespace");
  EXPECT_EQ(keywordTableFor(SourceLanguage::Cpp).words[59], "typedef");
  EXPECT_EQ(keywordTableFor(SourceLanguage::CSharp).words[88], "#endregion");
  EXPECT_EQ(keywordTableFor(SourceLanguage::Java).words[0], "static");
  EXPECT_EQ(keywordTableFor(SourceLanguage::VB).words[138], "#Region");
}

TEST(Keywords, OnlyTheFirstOccurrenceDecidesForTheWholeLine) {
  EngineFixture f;
  const SourceLanguage cpp = SourceLanguage::Cpp;
  EXPECT_EQ(coloured(f, "int x; int y;", cpp), kw("int") + NB + "x;" + NB + kw("int") + NB + "y;");
  EXPECT_EQ(coloured(f, "printf(x); int y;", cpp), escapeLine("printf(x); int y;"));
  EXPECT_EQ(coloured(f, "for(int i=0;...)", cpp), kw("for") + "(" + kw("int") + NB + "i=0;...)");
  EXPECT_EQ(coloured(f, "double d;", cpp), kw("double") + NB + "d;");
  EXPECT_EQ(coloured(f, "#ifdef X", cpp), kw("#ifdef") + NB + "X");
  // "&lt" and "&gt" are not separators.
  EXPECT_EQ(coloured(f, "vector<int> v; int w;", cpp), escapeLine("vector<int> v; int w;"));
  // Tabs and spaces escape to "&nbsp;", which counts as a separator before a keyword.
  EXPECT_EQ(coloured(f, "\tint", cpp), NB + NB + NB + NB + kw("int"));
}

TEST(Keywords, DuplicateAndOverlappingEntriesNestTags) {
  EngineFixture f;
  EXPECT_EQ(coloured(f, "using namespace std;", SourceLanguage::Cpp),
            K + "using" + NB + kw("namespace") + E + NB + "std;");
  EXPECT_EQ(coloured(f, "#pragma once", SourceLanguage::Cpp),
            K + kw("#pragma") + NB + "once" + E);
  // "short" is in the table twice: the same occurrence is wrapped twice.
  EXPECT_EQ(coloured(f, "short s;", SourceLanguage::Cpp), K + kw("short") + E + NB + "s;");
  // In Java "null" and "delegate" are listed twice.
  EXPECT_EQ(coloured(f, "x = null;", SourceLanguage::Java), "x" + NB + "=" + NB + K + kw("null") + E + ";");
}

TEST(Keywords, AreNotColouredInCommentsOrStrings) {
  EngineFixture f;
  const SourceLanguage cpp = SourceLanguage::Cpp;
  EXPECT_EQ(coloured(f, "x = 1; // int y", cpp), escapeLine("x = 1; // int y"));
  EXPECT_EQ(coloured(f, "a /* int */ b", cpp), escapeLine("a /* int */ b"));
  EXPECT_EQ(coloured(f, "s = \"int\";", cpp), escapeLine("s = \"int\";"));
  // A "//" anywhere earlier counts, even inside a string.
  EXPECT_EQ(coloured(f, "s = \"//\"; int y;", cpp), escapeLine("s = \"//\"; int y;"));
  // A block comment that never closes on the line does not protect what follows it.
  EXPECT_EQ(coloured(f, "a /* int", cpp), "a" + NB + "/*" + NB + kw("int"));
  f.converter.inBlockComment = true;
  EXPECT_EQ(coloured(f, "int x;", cpp), escapeLine("int x;"));
}

TEST(Keywords, FollowEachLanguagesTableCaseSensitively) {
  EngineFixture f;
  EXPECT_EQ(coloured(f, "If x Then", SourceLanguage::VB), kw("If") + NB + "x" + NB + kw("Then"));
  EXPECT_EQ(coloured(f, "IF x", SourceLanguage::VB), "IF" + NB + "x");
  EXPECT_EQ(coloured(f, "if x", SourceLanguage::VB), "if" + NB + "x");
  EXPECT_EQ(coloured(f, "foreach (var x in y)", SourceLanguage::CSharp),
            kw("foreach") + NB + "(var" + NB + "x" + NB + kw("in") + NB + "y)");
  EXPECT_EQ(coloured(f, "foreach x", SourceLanguage::Cpp), "foreach" + NB + "x");
  EXPECT_EQ(coloured(f, "import java.util;", SourceLanguage::Java), kw("import") + NB + "java.util;");
  EXPECT_EQ(coloured(f, "#region A", SourceLanguage::CSharp), kw("#region") + NB + "A");
}

TEST(Keywords, UseTheChosenColour) {
  EngineFixture f;
  f.settings.colors.keyword = 0x0000FF;  // pure red
  f.converter.markup = pageMarkupFor(f.settings.colors);
  EXPECT_EQ(coloured(f, "int", SourceLanguage::Cpp), "<font color=\"#ff0000\">int</font>");
}
