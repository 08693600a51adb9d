// The keyword pass, on escaped lines, for each language's table.
#include <gtest/gtest.h>

#include <set>

#include "engine/escape.h"
#include "engine/keyword_sets.h"
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

TEST(ModernKeywords, FollowEachTableOnceAndAreColouredOnlyWhenChosen) {
  for (SourceLanguage language : keywordLanguages) {
    const KeywordTable fixed = keywordTableFor(language);
    std::set<std::string_view> seen(fixed.begin(), fixed.end());
    for (std::string_view w : modernKeywordsFor(language))
      EXPECT_TRUE(seen.insert(w).second) << w << " is in the table already";
  }
  KeywordAdditions additions;
  additions.modern = true;
  // A word the table has, and one given twice, are added once.
  additions.words[0] = {"MYAPI", "constexpr", "int", "MYAPI"};
  additions.words[3] = {"Dim", "MyWord"};
  const auto set = std::make_shared<const KeywordSet>(additions);
  const KeywordTable cpp = set->table(SourceLanguage::Cpp);
  const size_t modernCpp = modernKeywordsFor(SourceLanguage::Cpp).size;
  ASSERT_EQ(cpp.size, 60 + modernCpp + 1);
  EXPECT_EQ(cpp.words[59], "typedef");
  EXPECT_EQ(cpp.words[60], "alignas");
  EXPECT_EQ(cpp.words[60 + modernCpp], "MYAPI");
  EXPECT_EQ(set->table(SourceLanguage::None).size, cpp.size);
  EXPECT_EQ(set->table(SourceLanguage::VB).size,
            139 + modernKeywordsFor(SourceLanguage::VB).size + 1);

  EngineFixture plain, chosen;
  chosen.settings.keywords = set;
  chosen.converter.keywords = set.get();
  const struct {
    SourceLanguage language;
    const char* source;
    std::string fixed, modern;
  } cases[] = {
      {SourceLanguage::Cpp, "constexpr auto p = nullptr; // MYAPI",
       "constexpr" + NB + "auto" + NB + "p" + NB + "=" + NB + "nullptr;" + NB + "//" + NB + "MYAPI",
       kw("constexpr") + NB + kw("auto") + NB + "p" + NB + "=" + NB + kw("nullptr") + ";" + NB +
           "//" + NB + "MYAPI"},
      {SourceLanguage::CSharp, "var x = await Load();",
       "var" + NB + "x" + NB + "=" + NB + "await" + NB + "Load();",
       kw("var") + NB + "x" + NB + "=" + NB + kw("await") + NB + "Load();"},
      // "-" joins words: the "sealed" of "non-sealed" is no keyword of its own.
      {SourceLanguage::Java, "public non-sealed class S permits C",
       kw("public") + NB + "non-sealed" + NB + kw("class") + NB + "S" + NB + "permits" + NB + "C",
       kw("public") + NB + kw("non-sealed") + NB + kw("class") + NB + "S" + NB + kw("permits") +
           NB + "C"},
      {SourceLanguage::VB, "Dim t = Await TryCast(o, MyWord)",
       kw("Dim") + NB + "t" + NB + "=" + NB + "Await" + NB + "TryCast(o," + NB + "MyWord)",
       kw("Dim") + NB + "t" + NB + "=" + NB + kw("Await") + NB + kw("TryCast") + "(o," + NB +
           kw("MyWord") + ")"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(coloured(plain, c.source, c.language), c.fixed) << c.source;
    EXPECT_EQ(coloured(chosen, c.source, c.language), c.modern) << c.source;
  }
  // The whole line pass takes the converter's set, and files of no language the C++ one.
  chosen.as(SourceLanguage::None);
  EXPECT_EQ(chosen.line("MYAPI int"), kw("MYAPI") + NB + kw("int"));
}

TEST(KeywordFile, GivesWordsPerLanguageAndNamesTheLineOfAMistake) {
  using Words = std::vector<std::string>;
  KeywordAdditions a;
  std::string error;
  ASSERT_TRUE(readKeywordFile("# words of our own\n[cpp]\nMYAPI  Q_OBJECT\t# macros\n"
                              "[CS]\r\n#warning2 $x @y a-b\n\n[java] [vb]\nMyWord",
                              &a, &error))
      << error;
  EXPECT_EQ(a.words[0], (Words{"MYAPI", "Q_OBJECT"}));
  EXPECT_EQ(a.words[1], (Words{"#warning2", "$x", "@y", "a-b"}));
  EXPECT_EQ(a.words[2], Words{});
  EXPECT_EQ(a.words[3], Words{"MyWord"});
  EXPECT_FALSE(a.modern);
  // A second file adds to the first.
  ASSERT_TRUE(readKeywordFile("\xEF\xBB\xBF[cpp] more", &a, &error));  // a byte-order mark
  EXPECT_EQ(a.words[0].size(), 3u);
  ASSERT_TRUE(readKeywordFile("", &a, &error));

  std::string many = "[vb]\n";
  for (int i = 0; i <= 1000; ++i) many += "w" + std::to_string(i) + " ";
  const std::pair<std::string, std::string> wrong[] = {
      {"word\n", "line 1: the word word comes before any section"},
      {"[cpp]\n\n[c]\n",
       "line 3: unknown section [c] (the sections are [cpp], [cs], [java] and [vb])"},
      {"[cpp\n", "line 1: unknown section [cpp (the sections are [cpp], [cs], [java] and [vb])"},
      {"[cpp]\nok\na<b\n", "line 3: 'a<b' is not a word (letters, digits and _ # $ @ - only)"},
      {"[cpp]\n\"x\"", "line 2: '\"x\"' is not a word (letters, digits and _ # $ @ - only)"},
      {"[java] lt",
       "line 1: 'lt' cannot be a keyword: the page writes spaces and angle brackets with it"},
      {"[cs] " + std::string(65, 'x'), "line 1: a word longer than 64 characters"},
      {many, "line 2: more than 1000 words for one language"},
  };
  for (const auto& [text, message] : wrong) {
    KeywordAdditions b;
    EXPECT_FALSE(readKeywordFile(text, &b, &error)) << text;
    EXPECT_EQ(error, message);
  }
}
