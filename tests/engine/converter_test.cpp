// Whole pages: the page frame, the line pass over real files, progress lines, counting,
// and the files that cannot be read or written.
#include <gtest/gtest.h>

#include "engine/converter.h"
#include "engine/keyword_sets.h"
#include "engine/line_reader.h"
#include "engine/themes.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temp_dir.h"

using namespace quillon;
using namespace testing_support;

namespace {
const std::string header =
    "<html>\r\n\r\n<head>\r\n"
    "<meta http-equiv=\"Content-Language\" content=\"en-us\">\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
    "<meta name=\"GENERATOR\" content=\"Microsoft FrontPage 4.0\">\r\n"
    "<meta name=\"ProgId\" content=\"FrontPage.Editor.Document\">\r\n"
    "<title>Hello</title>\r\n</head>\r\n\r\n"
    "<body bgcolor=\"#ffffff\">\r\n"
    "<font color=\"#000000\" face=\"Courier New\" size=\"2\">\r\n";
const std::string footer = "</font>\r\n</font>\r\n</body>\r\n\r\n</html>\r\n";

std::string entry(const std::string& line) { return "<nobr>" + line + "</nobr><br>\r\n"; }

struct PageFixture : EngineFixture {
  TempDir dir;
  PageFixture() {
    scripted::reset();
    settings.sourceDirectory = dir.path();
    settings.outputDirectory = dir.path();
  }
  std::string convert(const std::string& name, const std::string& bytes) {
    dir.write(name, bytes);
    SourceFileConverter page(context, name);
    return dir.read(name + ".htm");
  }
};
}  // namespace

TEST(Page, FrameCarriesTheColoursAndFontFace) {
  PageFixture f;
  EXPECT_EQ(f.convert("empty.cpp", ""), header + footer);
  f.settings.colors.background = 0x0000FF;
  f.settings.colors.defaultText = 0x123456;
  f.settings.fontFace = "Lucida Console";
  std::string page = f.convert("b.cpp", "");
  EXPECT_NE(page.find("<body bgcolor=\"#ff0000\">\r\n"), std::string::npos);
  EXPECT_NE(page.find("<font color=\"#563412\" face=\"Lucida Console\" size=\"2\">\r\n"),
            std::string::npos);
}

TEST(Page, HoldsOneEntryPerSourceLine) {
  PageFixture f;
  std::string page = f.convert("main.cpp", "int main()\r\n{\n\treturn 0; // done\r\n\n}");
  EXPECT_EQ(page, header + entry(kw("int") + NB + "main()") + entry("{") +
                      entry(NB + NB + NB + NB + kw("return") + NB + "0;" + NB + C + "//" + NB + "done" + E) +
                      entry("") + entry("}") + footer);
  EXPECT_EQ(f.run.convertedFileCount, 1);
  EXPECT_EQ(f.run.lastOutputFileName, "main.cpp.htm");
  EXPECT_EQ(f.run.currentSourcePath, "main.cpp");
  EXPECT_EQ(scripted::listLines(), std::vector<std::string>{"Converting main.cpp...."});
}

TEST(Page, KeepsEveryByteOfHostileLines) {
  PageFixture f;
  std::string nul("a\0b", 3);
  std::string loneCr = "x\ry";
  std::string longLine(1 << 20, 'q');
  std::string page = f.convert("odd.c", nul + "\n" + loneCr + "\r\n" + longLine + "\n#include \"x.h\n'");
  EXPECT_EQ(page, header + entry(nul) + entry(loneCr) + entry(longLine) +
                      entry(kw("#include") + NB + "\"x.h") + entry("'") + footer);
}

TEST(Page, WithLineNumbersEachLineHasItsAnchorAndTheHeadTheGutterStyle) {
  PageFixture f;
  f.settings.lineNumbers = true;
  auto numbered = [](int n, const std::string& line) {
    const std::string id = "L" + std::to_string(n);
    return "<nobr><a id=\"" + id + "\" href=\"#" + id + "\"></a>" + line + "</nobr><br>\r\n";
  };
  std::string head = header;
  head.insert(head.find("</head>"), crlf(lineNumberStyle()));
  // An empty line, CR LF, a line longer than a write block and a last line without its
  // line end: one number each, as the reader gives them.
  const std::string longLine(1 << 20, 'q');
  EXPECT_EQ(f.convert("n.cpp", "int a;\r\n\n" + longLine + "\nb"),
            head + numbered(1, kw("int") + NB + "a;") + numbered(2, "") + numbered(3, longLine) +
                numbered(4, "b") + footer);
  EXPECT_EQ(f.convert("empty.cpp", ""), head + footer);
  f.settings.lineNumbers = false;
  EXPECT_EQ(f.convert("empty.cpp", ""), header + footer);
}

TEST(Page, NumberedAndModernSamplePagesMatchTheirGoldenCopies) {
  PageFixture f;
  f.settings.sourceDirectory = std::string(QUILLON_SOURCE_DIR) + "/tests/data/real_world";
  // UTF-8 with a byte-order mark, which is on line 1 and counts for nothing else.
  f.settings.lineNumbers = true;
  SourceFileConverter numbered(f.context, "solution/Tools/Program.cs");
  const std::string lines = f.dir.read("Program.cs.htm");
  EXPECT_NE(lines.find("<nobr><a id=\"L1\" href=\"#L1\"></a>" + C + "//"), std::string::npos);
  EXPECT_EQ(lines, golden("page_options/Program.cs.htm", lines));

  f.settings.lineNumbers = false;
  KeywordAdditions additions;
  additions.modern = true;
  f.settings.keywords = std::make_shared<const KeywordSet>(additions);
  SourceFileConverter modern(f.context, "modern/shapes.cpp");
  const std::string keywords = f.dir.read("shapes.cpp.htm");
  EXPECT_NE(keywords.find(kw("constexpr") + NB + kw("double") + NB + "area()"), std::string::npos);
  EXPECT_EQ(keywords, golden("page_options/shapes.cpp.htm", keywords));
}

TEST(Page, RichPagesOfEveryLanguageAndADarkPageMatchTheirGoldenCopies) {
  PageFixture f;
  f.settings.sourceDirectory = std::string(QUILLON_SOURCE_DIR) + "/tests/data/rich";
  f.settings.richColours = true;
  for (const char* name : {"literals.cpp", "Literals.cs", "Literals.java", "Literals.vb"}) {
    SourceFileConverter page(f.context, name);
    const std::string text = f.dir.read(std::string(name) + ".htm");
    EXPECT_EQ(text, golden(std::string("page_options/rich_") + name + ".htm", text)) << name;
  }
  f.settings.theme = Theme::Dark;
  f.settings.colors = themeColors(Theme::Dark);
  f.settings.lineNumbers = true;
  SourceFileConverter dark(f.context, "literals.cpp");
  const std::string text = f.dir.read("literals.cpp.htm");
  EXPECT_NE(text.find("<html class=\"quillon-dark\">"), std::string::npos);
  EXPECT_EQ(text, golden("page_options/dark_literals.cpp.htm", text));
}

TEST(Page, BlockCommentLeftOpenIsClosedByTheFooter) {
  PageFixture f;
  std::string page = f.convert("c.cpp", "/* open\nint x;\n");
  EXPECT_EQ(page, header + entry(C + "/*" + NB + "open") + entry("int" + NB + "x;") + footer);
}

TEST(Page, LanguageComesFromTheSourceName) {
  PageFixture f;
  EXPECT_NE(f.convert("a.vb", "Dim x ' c").find(kw("Dim")), std::string::npos);
  EXPECT_NE(f.convert("a.cs", "foreach").find(kw("foreach")), std::string::npos);
  EXPECT_NE(f.convert("a.java", "import").find(kw("import")), std::string::npos);
  // An unknown kind gets the C/C++ keywords.
  EXPECT_NE(f.convert("a.rc", "#include \"r.h\"").find(kw("#include")), std::string::npos);
  EXPECT_EQ(f.convert("b.vb", "x = 1 // y").find(C), std::string::npos);
}

TEST(Page, ASourceGivenWithItsDirectoryIsReadFromThere) {
  PageFixture f;
  std::string sub = f.dir.mkdir("src");
  std::string out = f.dir.mkdir("out");
  f.dir.write("src/util.h", "int u;");
  f.settings.outputDirectory = out;
  f.settings.sourceDirectory = "/nonexistent";
  SourceFileConverter page(f.context, sub + "/util.h");
  EXPECT_EQ(readFile(out + "/util.h.htm"), header + entry(kw("int") + NB + "u;") + footer);
  EXPECT_EQ(f.run.currentSourcePath, sub + "/util.h");
  EXPECT_EQ(f.run.currentDirectory, out);
}

TEST(Page, UnreadableSourceGetsAnEmptyPageButIsNotCounted) {
  PageFixture f;
  f.dir.mkdir("folder.cpp");
  SourceFileConverter page(f.context, "folder.cpp");
  SourceFileConverter missing(f.context, "missing.cpp");
  EXPECT_EQ(f.dir.read("folder.cpp.htm"), header + footer);
  EXPECT_EQ(f.dir.read("missing.cpp.htm"), header + footer);
  EXPECT_EQ(f.run.convertedFileCount, 0);
  EXPECT_EQ(f.run.problemCount, 2);
  EXPECT_EQ(scripted::listLines(),
            (std::vector<std::string>{"Converting folder.cpp....", "<folder.cpp can't be read>",
                                      "Converting missing.cpp....", "<missing.cpp can't be read>"}));
}

TEST(Page, UnwritablePageIsReportedAndNotCounted) {
  PageFixture f;
  f.dir.write("a.cpp", "int a;");
  f.settings.outputDirectory = f.dir.file("no/such/dir");
  SourceFileConverter page(f.context, "a.cpp");
  EXPECT_EQ(f.run.convertedFileCount, 0);
  EXPECT_EQ(f.run.lastOutputFileName, "");
  EXPECT_EQ(scripted::listLines(),
            (std::vector<std::string>{"Converting a.cpp....", "<a.cpp.htm can't be written>"}));
}

TEST(Page, ReplacesAnEarlierPageWhole) {
  PageFixture f;
  f.dir.write("a.cpp.htm", std::string(100000, 'x'));
  EXPECT_EQ(f.convert("a.cpp", "x"), header + entry("x") + footer);
}

TEST(Page, StopBeforeTheFileDoesNothing) {
  PageFixture f;
  f.dir.write("a.cpp", "int a;");
  f.run.stopRequested = true;
  SourceFileConverter page(f.context, "a.cpp");
  EXPECT_EQ(f.dir.read("a.cpp.htm"), "");
  EXPECT_EQ(f.run.convertedFileCount, 0);
  EXPECT_TRUE(scripted::listLines().empty());
}

TEST(Page, StopDuringTheLinesKeepsWhatWasConverted) {
  PageFixture f;
  f.dir.write("a.cpp", "line1\nline2\n");
  SourceFileConverter page(f.context);
  page.outputFileName = "";
  // The stop flag is checked before each line: raise it once the first line is read.
  page.input.openText("line1\nline2\n");
  f.context.run.stopRequested = false;
  std::string first;
  ASSERT_TRUE(page.input.readLine(first));
  f.context.run.stopRequested = true;
  ASSERT_TRUE(page.output.open(f.dir.file("partial.htm")));
  convertLines(page);
  ASSERT_TRUE(page.output.commit());
  EXPECT_EQ(f.dir.read("partial.htm"), "");
}

TEST(LineReader, AcceptsLfAndCrLfAndKeepsOtherBytes) {
  LineReader r;
  r.openText(std::string("a\r\nb\nc\rd\r\r\n\ne\0f", 15));
  std::vector<std::string> lines;
  std::string line;
  while (r.readLine(line)) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c\rd\r", "", std::string("e\0f", 3)}));
  // As views into the reader's buffer, the same lines.
  r.openText(std::string("a\r\nb\nc\rd\r\r\n\ne\0f", 15));
  std::vector<std::string> viewed;
  for (std::string_view view; r.readLine(view);) viewed.emplace_back(view);
  EXPECT_EQ(viewed, lines);
  EXPECT_EQ(r.lineNumber(), 5u);
  r.openText("");
  EXPECT_FALSE(r.readLine(line));
  r.openText("x\n");
  EXPECT_TRUE(r.readLine(line));
  EXPECT_FALSE(r.readLine(line));
}

TEST(LineReader, ReadsLinesLongerThanItsBuffer) {
  TempDir dir;
  std::string big(300000, 'b');
  dir.write("big.txt", "a\n" + big + "\r\nc");
  LineReader r;
  ASSERT_TRUE(r.open(dir.file("big.txt")));
  std::string line;
  ASSERT_TRUE(r.readLine(line));
  EXPECT_EQ(line, "a");
  ASSERT_TRUE(r.readLine(line));
  EXPECT_EQ(line, big);
  ASSERT_TRUE(r.readLine(line));
  EXPECT_EQ(line, "c");
  EXPECT_FALSE(r.readLine(line));
  // Kept from the open on, the text is the whole file once its lines were read through,
  // read as views across the buffer's refills.
  ASSERT_TRUE(r.open(dir.file("big.txt")));
  std::string kept;
  r.keepText(&kept);
  std::string_view view;
  ASSERT_TRUE(r.readLine(view));
  EXPECT_EQ(view, "a");
  EXPECT_FALSE(r.keptWhole());
  ASSERT_TRUE(r.readLine(view));
  EXPECT_EQ(view, big);
  ASSERT_TRUE(r.readLine(view));
  EXPECT_EQ(view, "c");
  EXPECT_FALSE(r.readLine(view));
  EXPECT_TRUE(r.keptWhole());
  EXPECT_EQ(kept, "a\n" + big + "\r\nc");
  r.close();
  EXPECT_FALSE(r.keptWhole());
  EXPECT_FALSE(r.open(dir.path()));
  // Lines of many megabytes are handed over whole, one ended by CR LF amid others and
  // one that ends the file without a line end.
  const std::string huge(17 << 20, 'h'), last((16 << 20) + 5, 'l');
  dir.write("huge.txt", "a\n" + huge + "\r\nc\n" + last);
  ASSERT_TRUE(r.open(dir.file("huge.txt")));
  std::vector<std::string> lines;
  while (r.readLine(line)) lines.push_back(line);
  EXPECT_TRUE(lines == (std::vector<std::string>{"a", huge, "c", last}));
  EXPECT_EQ(r.lineNumber(), 4u);
}

TEST(PageWriter, WritesCrLfAndKeepsThePreviousFileOnFailure) {
  TempDir dir;
  EXPECT_TRUE(writeTextFile(dir.file("t.htm"), "a\nb\r\n"));
  EXPECT_EQ(dir.read("t.htm"), "a\r\nb\r\r\n");
  {
    PageWriter w;
    ASSERT_TRUE(w.open(dir.file("t.htm")));
    w.write("new");
    w.abandon();
  }
  EXPECT_EQ(dir.read("t.htm"), "a\r\nb\r\r\n");
  EXPECT_FALSE(writeTextFile(dir.file("missing/t.htm"), "x"));
}

TEST(Page, FontFaceCannotLeaveItsAttribute) {
  PageFixture f;
  f.settings.fontFace = "A\"><script>x</script>";
  EXPECT_NE(f.convert("a.cpp", "").find("face=\"A&quot;&gt;&lt;script&gt;x&lt;/script&gt;\""),
            std::string::npos);
  f.settings.fontFace = "A&quot;B";  // a face named so is not read as A"B
  EXPECT_NE(f.convert("a.cpp", "").find("face=\"A&amp;quot;B\""), std::string::npos);
}
