// Encodings: the UTF-8 check, UTF-16 read as UTF-8, the charset a page declares, and
// multi-byte characters going through the passes untouched.
#include "engine/encoding.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/converter.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temp_dir.h"

using namespace quillon;
using namespace testing_support;

namespace {

std::string utf16le(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::string utf16be(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c >> 8);
    bytes += static_cast<char>(c & 0xFF);
  }
  return bytes;
}

bool checked(std::string_view bytes) {
  Utf8Check check;
  check.add(bytes);
  return check.isUtf8();
}

const std::string sampleDirectory = std::string(QUILLON_SOURCE_DIR) + "/tests/data/real_world";

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
  /// The page of a sample file, converted from where it lies.
  std::string convertSample(const std::string& path) {
    settings.sourceDirectory = sampleDirectory;
    SourceFileConverter page(context, path);
    return dir.read(baseName(path) + ".htm");
  }
};

const std::string utf8Meta = "content=\"text/html; charset=utf-8\"";
const std::string ansiMeta = "content=\"text/html; charset=windows-1252\"";

std::string body(const std::string& page) {
  const size_t start = page.find("size=\"2\">\r\n") + 11;
  return page.substr(start, page.find("</font>\r\n</font>") - start);
}

}  // namespace

TEST(Utf8Check, AcceptsOnlyWellFormedTextWithAMultiByteCharacter) {
  EXPECT_TRUE(checked("caf\xC3\xA9"));                     // é
  EXPECT_TRUE(checked("\xE2\x82\xAC and \xF0\x9F\x91\x8B"));  // € and a 4-byte emoji
  EXPECT_FALSE(checked("plain ASCII"));                    // no multi-byte sequence
  EXPECT_FALSE(checked(""));
  EXPECT_FALSE(checked("caf\xE9"));                        // windows-1252 é
  EXPECT_FALSE(checked("\xC0\xAF"));                       // overlong "/"
  EXPECT_FALSE(checked("\xE0\x80\xAF"));                   // overlong, three bytes
  EXPECT_FALSE(checked("\xED\xA0\x80"));                   // a surrogate
  EXPECT_FALSE(checked("\xF4\x90\x80\x80"));               // above U+10FFFF
  EXPECT_FALSE(checked("\xC3"));                           // cut off at the end
  EXPECT_FALSE(checked("\xC3\xA9\xA9"));                   // a stray continuation byte

  // A character split between two pieces is still one character.
  Utf8Check split;
  split.add("gr\xC3");
  split.add("\xB6\xC3");
  EXPECT_FALSE(split.broken());
  split.add("\x9F" "e");
  EXPECT_TRUE(split.isUtf8());
}

TEST(Utf8Check, JudgesLongRunsOfAsciiAsByteByByte) {
  // Long texts go through the check in runs of ASCII: every sequence around a run, at
  // every offset, must get the answer it gets when the text is added a byte at a time.
  const std::string pieces[] = {"abcdefgh", "x", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x91\x8B",
                                "\xC3",     "\xA9", "\xED\xA0\x80", "\xFF", "0123456789abcdef"};
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (size_t i = 0, n = random() % 12; i < n; ++i) text += pieces[random() % std::size(pieces)];
    Utf8Check whole, byByte;
    whole.add(text);
    for (char c : text) byByte.add(std::string_view(&c, 1));
    ASSERT_EQ(whole.isUtf8(), byByte.isUtf8()) << text;
    ASSERT_EQ(whole.broken(), byByte.broken()) << text;
  }
}

TEST(Utf16, BecomesUtf8WithPairsJoinedAndBrokenUnitsReplaced) {
  EXPECT_EQ(byteOrderMarkOf("\xFF\xFE" "a"), ByteOrderMark::Utf16LE);
  EXPECT_EQ(byteOrderMarkOf("\xFE\xFF"), ByteOrderMark::Utf16BE);
  EXPECT_EQ(byteOrderMarkOf("\xEF\xBB\xBF"), ByteOrderMark::Utf8);
  EXPECT_EQ(byteOrderMarkOf("\xEF\xBB"), ByteOrderMark::None);

  // The mark, ASCII, two-byte and three-byte characters, and a surrogate pair (U+1F44B).
  const std::u16string text = u"\xFEFF" u"a\u00E9\u20AC\xD83D\xDC4B\r\n";
  const std::string utf8 = "\xEF\xBB\xBF" "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x91\x8B\r\n";
  EXPECT_EQ(utf16ToUtf8(utf16le(text), false), utf8);
  EXPECT_EQ(utf16ToUtf8(utf16be(text), true), utf8);

  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(utf16ToUtf8(utf16le(u"a\xD83D" u"b"), false), "a" + replacement + "b");  // lone high
  EXPECT_EQ(utf16ToUtf8(utf16le(u"\xDC4B" u"b"), false), replacement + "b");         // lone low
  EXPECT_EQ(utf16ToUtf8(utf16le(u"a\xD83D"), false), "a" + replacement);  // high at the end
  EXPECT_EQ(utf16ToUtf8(utf16le(u"ab") + "c", false), "ab" + replacement);  // odd last byte
  EXPECT_EQ(utf16ToUtf8("", false), "");
}

TEST(LineReader, ReadsUtf16FilesAsUtf8Lines) {
  TempDir dir;
  dir.write("le.rc", utf16le(u"\xFEFF" u"first \u00E9\r\nsecond\nlast"));
  dir.write("be.rc", utf16be(u"\xFEFF" u"x\xD83D\xDC4B\r\n"));
  dir.write("odd.rc", "\xFF\xFE" "a");
  LineReader reader;
  std::string line;
  std::vector<std::string> lines;
  ASSERT_TRUE(reader.open(dir.file("le.rc")));
  std::string kept;  // the text the lines come from: the UTF-8
  reader.keepText(&kept);
  while (reader.readLine(line)) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"\xEF\xBB\xBF" "first \xC3\xA9", "second", "last"}));
  EXPECT_TRUE(reader.keptWhole());
  EXPECT_EQ(kept, "\xEF\xBB\xBF" "first \xC3\xA9\r\nsecond\nlast");
  ASSERT_TRUE(reader.open(dir.file("be.rc")));
  ASSERT_TRUE(reader.readLine(line));
  EXPECT_EQ(line, "\xEF\xBB\xBF" "x\xF0\x9F\x91\x8B");
  EXPECT_FALSE(reader.readLine(line));
  ASSERT_TRUE(reader.open(dir.file("odd.rc")));
  ASSERT_TRUE(reader.readLine(line));
  EXPECT_EQ(line, "\xEF\xBB\xBF\xEF\xBF\xBD");
}

TEST(PageCharset, FollowsTheSourceEncodingAndLeavesEightBitPagesAsTheyWere) {
  PageFixture f;
  const std::string ascii = f.convert("a.cpp", "int a;\n");
  EXPECT_NE(ascii.find(ansiMeta), std::string::npos);
  EXPECT_EQ(ascii.substr(0, ascii.find("<nobr>")), crlf(pageHeader(f.settings)));

  // windows-1252 bytes go through as they are, under the old charset.
  const std::string ansi = f.convert("b.cpp", "// caf\xE9 \xA9\n");
  EXPECT_NE(ansi.find(ansiMeta), std::string::npos);
  EXPECT_EQ(body(ansi), "<nobr><font color=\"#008000\">//&nbsp;caf\xE9&nbsp;\xA9</font></nobr><br>\r\n");

  // UTF-8 with multi-byte characters, with or without a mark: the same page, declared UTF-8.
  const std::string plain = f.convert("c.cpp", "// caf\xC3\xA9\n");
  const std::string marked = f.convert("d.cpp", "\xEF\xBB\xBF// caf\xC3\xA9\n");
  EXPECT_NE(plain.find(utf8Meta), std::string::npos);
  EXPECT_NE(marked.find(utf8Meta), std::string::npos);
  EXPECT_EQ(body(plain), body(marked));
  EXPECT_EQ(body(plain), "<nobr><font color=\"#008000\">//&nbsp;caf\xC3\xA9</font></nobr><br>\r\n");
  // A mark alone is enough; a broken sequence later does not undo it.
  EXPECT_NE(f.convert("e.cpp", "\xEF\xBB\xBFint e;\n").find(utf8Meta), std::string::npos);
  EXPECT_NE(f.convert("f.cpp", "\xEF\xBB\xBF\xE9\n").find(utf8Meta), std::string::npos);
  // One bad byte after many good characters keeps the page 8-bit.
  EXPECT_NE(f.convert("g.cpp", std::string(100000, 'x') + "\xC3\xA9\n\xE9\n").find(ansiMeta),
            std::string::npos);
  // A multi-byte character far past the first piece read still decides, and every line
  // before it is still on the page.
  std::string early, earlyBody;
  for (int i = 0; i < 40000; ++i) early += "a;\n", earlyBody += "<nobr>a;</nobr><br>\r\n";
  const std::string late = f.convert("i.cpp", early + "// \xC3\xA9\n");
  EXPECT_NE(late.find(utf8Meta), std::string::npos);
  EXPECT_EQ(body(late), earlyBody + "<nobr><font color=\"#008000\">//&nbsp;\xC3\xA9</font></nobr><br>\r\n");

  // UTF-16 is read as UTF-8, and its mark is dropped like a UTF-8 mark.
  const std::string wide = f.convert("h.rc", utf16le(u"\xFEFF" u"// \u00E9\r\nx\r\n"));
  EXPECT_NE(wide.find(utf8Meta), std::string::npos);
  EXPECT_EQ(body(wide), "<nobr><font color=\"#008000\">//&nbsp;\xC3\xA9</font></nobr><br>\r\n"
                        "<nobr>x</nobr><br>\r\n");
}

TEST(TabStops, CountCharactersOnUtf8PagesAndBytesOnEightBitPages) {
  PageFixture f;
  const std::string nb3 = "&nbsp;&nbsp;&nbsp;", nb2 = "&nbsp;&nbsp;";
  // "é" is one column: the tab after it fills three, as after any single letter.
  EXPECT_EQ(body(f.convert("a.cs", "\xC3\xA9\tx\n\xE2\x82\xAC\xE2\x82\xAC\tx\nab\tx\n")),
            "<nobr>\xC3\xA9" + nb3 + "x</nobr><br>\r\n"
            "<nobr>\xE2\x82\xAC\xE2\x82\xAC" + nb2 + "x</nobr><br>\r\n"
            "<nobr>ab" + nb2 + "x</nobr><br>\r\n");
  // The byte-order mark counts for nothing, and goes as on any other line.
  EXPECT_EQ(body(f.convert("b.cs", "\xEF\xBB\xBF\xC3\xA9\tx\n")),
            "<nobr>\xC3\xA9" + nb3 + "x</nobr><br>\r\n");
  // A windows-1252 "é" is one byte and one column, as before.
  EXPECT_EQ(body(f.convert("c.cs", "\xE9\tx\n")), "<nobr>\xE9" + nb3 + "x</nobr><br>\r\n");
  // The widened tab goes through the passes like spaces: the comment and keyword still
  // come out as on a line written with spaces.
  EXPECT_EQ(body(f.convert("d.cs", "// \xC3\xA9\tint\nint\t\xC3\xA9\n")),
            body(f.convert("e.cs", "// \xC3\xA9    int\nint \xC3\xA9\n")));
}

TEST(MultiByteCharacters, AreNeverSplitAndNeverPartOfAWord) {
  EngineFixture f;
  f.as(SourceLanguage::CSharp);
  // Bytes from 0x80 up separate words: the keyword before an accented letter is a word
  // of its own, and the letters stay whole beside the markup.
  EXPECT_EQ(f.line("int gr\xC3\xB6\xC3\x9F" "e = 1;"),
            kw("int") + NB + "gr\xC3\xB6\xC3\x9F" "e" + NB + "=" + NB + "1;");
  EXPECT_EQ(f.line("for\xC3\xAAt"), kw("for") + "\xC3\xAAt");
  EXPECT_EQ(f.line("\xC3\xA9int"), "\xC3\xA9" + kw("int"));
  // A declared name runs to the next blank, so its anchor holds the whole name.
  EXPECT_EQ(f.line("class Caf\xC3\xA9 {"),
            kw("class") + NB + "<a name=\"Caf\xC3\xA9\">Caf\xC3\xA9</a>" + NB + "{");
}

TEST(PageCharset, SamplePagesMatchTheirGoldenCopies) {
  PageFixture f;
  // A resource script saved as UTF-16 with a mark, with an emoji beyond the 16-bit range.
  const std::string rc = f.convertSample("solution/Calc/Calc.rc");
  EXPECT_NE(rc.find(utf8Meta), std::string::npos);
  EXPECT_NE(rc.find("Gr\xC3\xBC\xC3\x9F&nbsp;Gott&nbsp;\xF0\x9F\x91\x8B"), std::string::npos);
  EXPECT_EQ(rc, golden("page_encodings/Calc.rc.htm", rc));
  // UTF-8 with a mark and accented words in its comments and code.
  const std::string cs = f.convertSample("solution/Tools/Program.cs");
  EXPECT_EQ(cs.find("\xEF\xBB\xBF"), std::string::npos);
  EXPECT_EQ(cs, golden("page_encodings/Program.cs.htm", cs));
  // windows-1252, as before.
  const std::string ansi = f.convertSample("solution/Shared/log.cpp");
  EXPECT_NE(ansi.find(ansiMeta), std::string::npos);
  EXPECT_EQ(ansi, golden("page_encodings/log.cpp.htm", ansi));
}
