// File kinds, path helpers, the shared text tests and line escaping.
#include <gtest/gtest.h>

#include "engine/escape.h"
#include "engine/file_kinds.h"
#include "engine/text_tests.h"

using namespace quillon;

TEST(FileKinds, AreDecidedByTheEndOfTheNameInAnyCase) {
  EXPECT_TRUE(isCppFile("MAIN.CPP"));
  EXPECT_TRUE(isCppFile("main.Cpp"));
  EXPECT_TRUE(isCppFile("main.cpp"));
  EXPECT_FALSE(isSourceFile("main.cpp.bak"));
  EXPECT_TRUE(isCppFile(".c"));
  EXPECT_FALSE(isCppFile(""));
  EXPECT_FALSE(isSourceFile(""));
  EXPECT_FALSE(endsWithIgnoreCase("c", ".c"));
  EXPECT_TRUE(isJavaFile("util.js"));
  EXPECT_EQ(languageOf("util.js"), SourceLanguage::Java);
  EXPECT_TRUE(isSourceFile("res.rc"));
  EXPECT_TRUE(isResourceFile("res.rc"));
  EXPECT_EQ(languageOf("res.rc"), SourceLanguage::None);
  EXPECT_EQ(languageOf("Form1.vb"), SourceLanguage::VB);
  EXPECT_EQ(languageOf("Module.BAS"), SourceLanguage::VB);
  EXPECT_EQ(languageOf("Program.cs"), SourceLanguage::CSharp);
  EXPECT_EQ(languageOf("App.jsl"), SourceLanguage::Java);
  EXPECT_TRUE(isProjectFile("Calc.VCPROJ"));
  EXPECT_TRUE(isProjectFile("a.dsp"));
  EXPECT_FALSE(isProjectFile("a.sln"));
  EXPECT_TRUE(isResourceFile("logo.JPEG"));
  EXPECT_FALSE(isResourceFile("notes.txt"));
}

TEST(FileKinds, LongNamesAreTestedWhole) {
  std::string longName(5000, 'x');
  EXPECT_TRUE(isCppFile(longName + ".cpp"));
  EXPECT_FALSE(isCppFile(longName));
}

TEST(PathHelpers, CutAtTheLastSlashOrBackslash) {
  EXPECT_EQ(baseName("C:\\src\\main.cpp"), "main.cpp");
  EXPECT_EQ(baseName("src/sub\\main.cpp"), "main.cpp");
  EXPECT_EQ(baseName("a\\b/c.h"), "c.h");
  EXPECT_EQ(baseName("main.cpp"), "main.cpp");
  EXPECT_EQ(baseName("dir\\"), "");
  EXPECT_EQ(directoryOf("C:\\src\\main.cpp"), "C:\\src");
  EXPECT_EQ(directoryOf("/home/u/main.cpp"), "/home/u");
  EXPECT_EQ(directoryOf("main.cpp"), "");
}

TEST(PathHelpers, PathKeysFoldDotsSeparatorsAndCase) {
  EXPECT_EQ(pathKey("a/B/../c\\D"), "a\\c\\d");
  EXPECT_EQ(pathKey("a/B/../c\\D", true), "a\\c\\D");
  EXPECT_EQ(pathKey("./x//y/."), "x\\y");
  // ".." above the first name stays, except at the root.
  EXPECT_EQ(pathKey("../../x/./Y"), "..\\..\\x\\y");
  EXPECT_EQ(pathKey("x/../../y"), "..\\y");
  EXPECT_EQ(pathKey("a/../.."), "..");
  EXPECT_EQ(pathKey("a/.."), "");
  EXPECT_EQ(pathKey("/a/../../b"), "\\b");
  EXPECT_EQ(pathKey("/A/b/.."), "\\a");
  EXPECT_EQ(pathKey("\\A\\b", true), "\\A\\b");
}

TEST(WordChars, AreLettersDigitsUnderscoreAndHyphen) {
  for (char c : std::string("azAZ09_-")) EXPECT_TRUE(isWordChar(c)) << c;
  for (char c : std::string(" \t&;<>\"'./\x80\xff")) EXPECT_FALSE(isWordChar(c)) << int(c);
}

TEST(InsideQuotes, TellsWhetherAPartEndsInAQuotedStretch) {
  // A quote right after a backslash does not count.
  EXPECT_TRUE(insideQuotes("\"\\\"abc\"", "abc"));
  EXPECT_TRUE(insideQuotes("x = \"a // b\";", "//"));
  EXPECT_FALSE(insideQuotes("x = 1; // \"q\"", "//"));
  EXPECT_FALSE(insideQuotes("a \"b\" c", "c"));
  // A quote that opens and never closes does not make a string.
  EXPECT_FALSE(insideQuotes("a \"b c", "c"));
  // The part is taken at the given position rather than its first occurrence.
  EXPECT_TRUE(insideQuotes("c \"c\"", "c", 3));
  EXPECT_FALSE(insideQuotes("c \"c\"", "c"));
  EXPECT_FALSE(insideQuotes("abc", "zz"));
}

namespace {
std::vector<std::string> words(std::string_view line) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < line.size()) out.push_back(nextWord(pos, line, false));
  return out;
}
}  // namespace

TEST(NextWord, StopsTheScanAtCommentsAndStrings) {
  std::string line = escapeLine("int x; // int y");
  size_t pos = 0;
  EXPECT_EQ(nextWord(pos, line, false), "int");
  EXPECT_EQ(nextWord(pos, line, false), "nbsp");
  EXPECT_EQ(nextWord(pos, line, false), "x");
  EXPECT_EQ(nextWord(pos, line, false), "nbsp");
  EXPECT_EQ(nextWord(pos, line, false), "");
  EXPECT_EQ(pos, line.size());

  EXPECT_EQ(words("x-y x_9"), (std::vector<std::string>{"x-y", "x_9"}));
  // A word before a separator and an opening quote is not inside the string.
  EXPECT_EQ(words("printf(\"hi\")"), (std::vector<std::string>{"printf", ""}));
  EXPECT_EQ(words("a /* bb x */ c"), (std::vector<std::string>{"a", ""}));
  // The block-comment test looks at the first "*/" after the scan position only.
  EXPECT_EQ(words("a /* b */ c"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(words("a /* b"), (std::vector<std::string>{"a", "b"}));

  pos = 0;
  EXPECT_EQ(nextWord(pos, "int x;", true), "");
  EXPECT_EQ(pos, 6u);
}

TEST(NextWord, TakesWordsOfAnyLength) {
  std::string big(20000, 'w');
  size_t pos = 0;
  EXPECT_EQ(nextWord(pos, big + " x", false), big);
  EXPECT_EQ(nextWord(pos, big + " x", false), "x");
}

TEST(EscapeLine, KeepsTheLayoutWithTabStopsOfFour) {
  EXPECT_EQ(escapeLine(""), "");
  EXPECT_EQ(escapeLine("\t"), "&nbsp;&nbsp;&nbsp;&nbsp;");
  EXPECT_EQ(escapeLine("ab\tc"), "ab&nbsp;&nbsp;c");
  EXPECT_EQ(escapeLine(" <\tx"), "&nbsp;&lt&nbsp;&nbsp;x");
  EXPECT_EQ(escapeLine("abcd\te"), "abcd&nbsp;&nbsp;&nbsp;&nbsp;e");
  EXPECT_EQ(escapeLine("a<b>c"), "a&ltb&gtc");
  EXPECT_EQ(escapeLine("<<>>"), "&lt&lt&gt&gt");
  EXPECT_EQ(escapeLine("a && b"), "a&nbsp;&&&nbsp;b");
  // A "&" that a browser would read as the start of a character reference (before a
  // letter, a digit or "#") is written "&amp;"; every other "&" keeps its byte.
  EXPECT_EQ(escapeLine("g(&param, &notify)"), "g(&amp;param,&nbsp;&amp;notify)");
  EXPECT_EQ(escapeLine("&lt; &amp; &#39; &#x41; &nbsp; &1"),
            "&amp;lt;&nbsp;&amp;amp;&nbsp;&amp;#39;&nbsp;&amp;#x41;&nbsp;&amp;nbsp;&nbsp;&amp;1");
  EXPECT_EQ(escapeLine("a&&b & x &( &* &_ &\t&"),
            "a&&amp;b&nbsp;&&nbsp;x&nbsp;&(&nbsp;&*&nbsp;&_&nbsp;&&nbsp;&");
  EXPECT_EQ(escapeLine("\"q\" \x80\xe9"), "\"q\"&nbsp;\x80\xe9");
  EXPECT_EQ(escapeLine(std::string("a\0b\rc", 5)), std::string("a\0b\rc", 5));
}

TEST(ByteOrderMark, IsDroppedWithWhateverStoodBeforeIt) {
  std::string first = "\xEF\xBB\xBFint x;";
  stripByteOrderMark(first);
  EXPECT_EQ(first, "int x;");
  std::string middle = "abc\xEF\xBB\xBF" "def\xEF\xBB\xBF";
  stripByteOrderMark(middle);
  EXPECT_EQ(middle, "def\xEF\xBB\xBF");
  std::string none = "\xEF\xBB";
  stripByteOrderMark(none);
  EXPECT_EQ(none, "\xEF\xBB");
}
