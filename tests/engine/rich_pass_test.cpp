// The rich pass, by language and kind of literal: strings, characters, numbers and
// directives take their colours; comments, keywords, links and anchors keep theirs.
#include <gtest/gtest.h>

#include "engine/themes.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/markup_check.h"

using namespace quillon;
using namespace testing_support;

namespace {
// The light theme's rich colours.
const std::string S = "<font color=\"#a82f1e\">";  // string
const std::string N = "<font color=\"#0b6e75\">";  // number
const std::string P = "<font color=\"#7a1fa2\">";  // preprocessor

std::string str(const std::string& t) { return S + t + E; }
std::string num(const std::string& t) { return N + t + E; }

struct RichFixture : EngineFixture {
  explicit RichFixture(SourceLanguage language = SourceLanguage::Cpp) {
    settings.richColours = true;
    converter.markup = pageMarkupFor(settings.colors);
    as(language);
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

TEST(RichCpp, StringsAndCharactersWithTheirPrefixes) {
  RichFixture f;
  EXPECT_EQ(f.safe("s = \"a \\\" b\";"), "s" + NB + "=" + NB + str("\"a" + NB + "\\\"" + NB + "b\"") + ";");
  EXPECT_EQ(f.safe("L\"w\" u8\"u\" u'c' U'\\''"),
            str("L\"w\"") + NB + str("u8\"u\"") + NB + str("u'c'") + NB + str("U'\\''"));
  // A prefix is one only directly before its quote, and an identifier is no prefix.
  EXPECT_EQ(f.safe("xL\"a\""), "xL" + str("\"a\""));
  // A comment marker inside a string is text; the comment after it stays a comment.
  EXPECT_EQ(f.safe("f(\"http://x\"); // \"q\""),
            "f(" + str("\"http://x\"") + ");" + NB + C + "//" + NB + "\"q\"" + E);
  // A string left open ends with its line.
  EXPECT_EQ(f.safe("x = \"open"), "x" + NB + "=" + NB + str("\"open"));
  EXPECT_EQ(f.safe("y"), "y");
}

TEST(RichCpp, RawStringsRunOverLinesToTheirDelimiter) {
  RichFixture f;
  EXPECT_EQ(f.safe("s = R\"x(a)\" \"b"), "s" + NB + "=" + NB + str("R\"x(a)\"" + NB + "\"b"));
  // The keyword pass colours int on a line inside the raw string: the string wins.
  EXPECT_EQ(f.safe("int i; )\" still"), str("int" + NB + "i;" + NB + ")\"" + NB + "still"));
  EXPECT_EQ(f.safe(")x\" + 1;"), str(")x\"") + NB + "+" + NB + num("1") + ";");
  EXPECT_EQ(f.safe("u8R\"(\\)\"; LR\"--(\"\")--\""),
            str("u8R\"(\\)\"") + ";" + NB + str("LR\"--(\"\")--\""));
  // Sixteen characters make a delimiter; seventeen make an ordinary string.
  EXPECT_EQ(f.safe("R\"0123456789abcdef(z)0123456789abcdef\""),
            str("R\"0123456789abcdef(z)0123456789abcdef\""));
  EXPECT_EQ(f.safe("R\"0123456789abcdefg(z\" 2"), "R" + str("\"0123456789abcdefg(z\"") + NB + num("2"));
}

TEST(RichCpp, NumbersInEveryNotationButNeverInAnIdentifier) {
  RichFixture f;
  EXPECT_EQ(f.safe("0x1Fu+1'000'000 3.14e-10f 0b1010 .5 07"),
            num("0x1Fu") + "+" + num("1'000'000") + NB + num("3.14e-10f") + NB + num("0b1010") + NB +
                num(".5") + NB + num("07"));
  EXPECT_EQ(f.safe("x1 a_2 $3 0x1e+5"), "x1" + NB + "a_2" + NB + "$" + num("3") + NB + num("0x1e") + "+" + num("5"));
  EXPECT_EQ(f.safe("a[12]"), "a[" + num("12") + "]");
}

TEST(RichCpp, DirectivesWithTheirArguments) {
  RichFixture f;
  // The keyword keeps its colour, the system file name takes the directive's.
  EXPECT_EQ(f.safe("#include <stdio.h>"), kw("#include") + P + NB + "&ltstdio.h&gt" + E);
  EXPECT_EQ(f.safe("  # define N 10 // ten"),
            NB + NB + P + "#" + NB + "define" + NB + "N" + NB + "10" + NB + E + C + "//" + NB + "ten" + E);
  // A backslash at the end carries the directive to the next line.
  EXPECT_EQ(f.safe("#define TWO \\"), kw("#define") + P + NB + "TWO" + NB + "\\" + E);
  EXPECT_EQ(f.safe("  (1 + 1)"), P + NB + NB + "(1" + NB + "+" + NB + "1)" + E);
  EXPECT_EQ(f.safe("x = 2 # 3"), "x" + NB + "=" + NB + num("2") + NB + "#" + NB + num("3"));
  // The include's link keeps its look.
  EXPECT_EQ(f.safe("#include \"a.h\""),
            kw("#include") + P + NB + "\"" + E + "<a href=\"a.h.htm\">a.h</a>" + P + "\"" + E);
}

TEST(RichCSharp, VerbatimInterpolatedAndRawStrings) {
  RichFixture f(SourceLanguage::CSharp);
  EXPECT_EQ(f.safe("p = @\"C:\\dir\\\"\"x\";"), "p" + NB + "=" + NB + str("@\"C:\\dir\\\"\"x\"") + ";");
  // A verbatim string runs over lines; "" is a quote, not its end.
  EXPECT_EQ(f.safe("q = @\"one"), "q" + NB + "=" + NB + str("@\"one"));
  EXPECT_EQ(f.safe("two\"\" if\" + 3;"), str("two\"\"" + NB + "if\"") + NB + "+" + NB + num("3") + ";");
  // Interpolated: the holes are part of the string, quotes inside them too.
  EXPECT_EQ(f.safe("$\"a{d[\"k\"]}b\" + $@\"{{x}}\""),
            str("$\"a{d[\"k\"]}b\"") + NB + "+" + NB + str("$@\"{{x}}\""));
  EXPECT_EQ(f.safe("r = \"\"\""), "r" + NB + "=" + NB + str("\"\"\""));
  EXPECT_EQ(f.safe("  a \"\" b"), str(NB + NB + "a" + NB + "\"\"" + NB + "b"));
  EXPECT_EQ(f.safe("  \"\"\"; c = 'x';"), str(NB + NB + "\"\"\"") + ";" + NB + "c" + NB + "=" + NB + str("'x'") + ";");
  EXPECT_EQ(f.safe("e = \"\";"), "e" + NB + "=" + NB + str("\"\"") + ";");
}

TEST(RichCSharp, DirectivesHoldNoLiterals) {
  RichFixture f(SourceLanguage::CSharp);
  EXPECT_EQ(f.safe("#region Don't look"), kw("#region") + P + NB + "Don't" + NB + "look" + E);
  // (The keyword pass colours the "if" of "#if" by the table's earlier entry.)
  EXPECT_EQ(f.safe("#if DEBUG"), P + "#" + E + kw("if") + P + NB + "DEBUG" + E);
  EXPECT_EQ(f.safe("x = 1_000m;"), "x" + NB + "=" + NB + num("1_000m") + ";");
}

TEST(RichJava, StringsTextBlocksAndCharacters) {
  RichFixture f(SourceLanguage::Java);
  EXPECT_EQ(f.safe("s = \"\"\""), "s" + NB + "=" + NB + str("\"\"\""));
  // The comment passes take "//" on a line without quotes for a comment; the text block
  // goes on after it.
  EXPECT_EQ(f.safe("  see http://x"), str(NB + NB + "see" + NB + "http:") + C + "//x" + E);
  EXPECT_EQ(f.safe("  \\\"\"\" \"\"\";"), str(NB + NB + "\\\"\"\"" + NB + "\"\"\"") + ";");
  EXPECT_EQ(f.safe("c = '\"'; n = 0x7fL;"),
            "c" + NB + "=" + NB + str("'\"'") + ";" + NB + "n" + NB + "=" + NB + num("0x7fL") + ";");
  // Java has no preprocessor.
  EXPECT_EQ(f.safe("# 1"), "#" + NB + num("1"));
}

TEST(RichVisualBasic, DoubledQuotesHexNumbersAndDirectives) {
  RichFixture f(SourceLanguage::VB);
  EXPECT_EQ(f.safe("s = \"a\"\"b\\\" ' c"),
            "s" + NB + "=" + NB + str("\"a\"\"b\\\"") + NB + C + "'" + NB + "c" + E);
  EXPECT_EQ(f.safe("x = &HFF + 10% + 1.5"),
            "x" + NB + "=" + NB + num("&amp;HFF") + NB + "+" + NB + num("10%") + NB + "+" + NB + num("1.5"));
  EXPECT_EQ(f.safe("#If DEBUG Then"), P + "#" + E + kw("If") + P + NB + "DEBUG" + NB + E + kw("Then"));
}

TEST(Rich, CommentsStayTheJudge) {
  RichFixture f;
  // A quote inside a comment is comment; the string after the comment is one.
  EXPECT_EQ(f.safe("a /* b */ \"c\" /* 'd */"),
            "a" + NB + C + "/*" + NB + "b" + NB + "*/" + E + NB + str("\"c\"") + NB + C + "/*" + NB +
                "'d" + NB + "*/" + E);
  // Where today's rule finds the "*/" between quotes, the comment goes on: nothing of it
  // is read, the lines after it included.
  EXPECT_EQ(f.safe("a /* \"b */ \"c\""), "a" + NB + C + "/*" + NB + "\"b" + NB + "*/" + NB + "\"c\"");
  EXPECT_EQ(f.safe("\"in comment\" 12"), "\"in" + NB + "comment\"" + NB + "12");
  EXPECT_EQ(f.safe("*/ 12 \"s\""), "*/" + E + NB + num("12") + NB + str("\"s\""));
  // A comment between the blanks and "#" does not stop the directive.
  EXPECT_EQ(f.safe("/**/#if 1"), C + "/**/" + E + K + "#" + kw("if") + E + P + NB + "1" + E);
}

TEST(Rich, ClassLinksAnchorsAndLineNumbersStillWork) {
  RichFixture f;
  f.classes.classRecords.push_back({"Foo", "a.h.htm#Foo", "a.h.htm", {}});
  indexClassNames(f.classes);
  const std::string style = " style=\"text-decoration:none;color:#000000\">";
  EXPECT_EQ(f.safe("Foo f(\"Foo\", 2);"),
            "<a href=\"a.h.htm#Foo\"" + style + "Foo</a>" + NB + "f(" + str("\"Foo\"") + "," + NB +
                num("2") + ");");
  EXPECT_EQ(f.safe("class Bar { int n = 3; };"),
            kw("class") + NB + "<a name=\"Bar\">Bar</a>" + NB + "{" + NB + kw("int") + NB + "n" + NB + "=" +
                NB + num("3") + ";" + NB + "};");
}

TEST(Rich, HostileLinesCauseNoMarkupOfTheirOwn) {
  RichFixture f;
  const std::string megabyteNumber(1 << 20, '7');
  EXPECT_EQ(f.safe(megabyteNumber), num(megabyteNumber));
  f.safe("R\"" + std::string(100000, 'd') + "(");
  f.safe(std::string(10000, '"') + std::string(10000, '\''));
  f.safe("x\r\"y\r\"\r");  // lone CRs of mixed line ends stay in the line
  f.safe("R\"(never closed");
  EXPECT_EQ(f.converter.literals.kind, LiteralState::Raw);
  f.safe(")\"");
  EXPECT_EQ(f.converter.literals.kind, LiteralState::Code);
}

TEST(Themes, DarkColoursAllReadWellOnTheirBackground) {
  const ColorScheme dark = themeColors(Theme::Dark);
  for (ColorRef c : {dark.defaultText, dark.keyword, dark.comment, dark.string, dark.number,
                     dark.preprocessor})
    EXPECT_GE(contrastRatio(c, dark.background), 4.5) << htmlColor(c);
  EXPECT_NEAR(contrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
  // The light theme's four base colours are the pages' colours before themes.
  const ColorScheme light = themeColors(Theme::Light);
  EXPECT_EQ(htmlColor(light.background) + htmlColor(light.keyword) + htmlColor(light.defaultText) +
                htmlColor(light.comment),
            "#ffffff#0000ff#000000#008000");
}

TEST(Themes, ADarkWorkspacePageGetsTheClassAndStyleALightOneNothing) {
  ConversionSettings settings;
  const std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<title>T</title>\n</head>\n<body>\n";
  std::string text = page;
  themeWorkspacePage(settings, text);
  EXPECT_EQ(text, page);
  EXPECT_EQ(themeHead(settings), "");
  settings.theme = Theme::Dark;
  settings.colors = themeColors(Theme::Dark);
  themeWorkspacePage(settings, text);
  EXPECT_EQ(text.substr(0, 53), "<!DOCTYPE html>\n<html class=\"quillon-dark\" lang=\"en\">");
  EXPECT_NE(text.find("--quillon-panel:#161a21"), std::string::npos);
  EXPECT_LT(text.find("html.quillon-dark .tree_search input{"), text.find("</head>"));
  std::vector<std::string> lines = {"<!DOCTYPE html>", "<html lang=\"en\">", "<head>", "</head>",
                                    "<body>", "</head>"};
  themeWorkspaceLines(settings, lines);
  EXPECT_EQ(lines[1], "<html class=\"quillon-dark\" lang=\"en\">");
  EXPECT_EQ(lines[3].rfind("<style>", 0), 0u);
  EXPECT_EQ(lines[5], "</head>");  // once only
  EXPECT_NE(themeHead(settings).find("--quillon-string:#e9a477"), std::string::npos);
}
