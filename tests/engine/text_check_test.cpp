// Telling text from pictures and programs that carry a source file's name.
#include <gtest/gtest.h>

#include "engine/text_check.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temp_dir.h"

using namespace quillon;
using namespace testing_support;

namespace {
std::string bytes(std::string_view s) { return std::string(s); }
}  // namespace

TEST(TextCheck, KnownSignaturesAreBinary) {
  EXPECT_FALSE(looksLikeText(bytes("\x89PNG\r\n\x1a\n") + "rest of a picture"));
  EXPECT_FALSE(looksLikeText("GIF89a......"));
  EXPECT_FALSE(looksLikeText("\xFF\xD8\xFF\xE0 JFIF"));
  EXPECT_FALSE(looksLikeText("\x7F" "ELF and the rest"));
  EXPECT_FALSE(looksLikeText(bytes(std::string_view("PK\x03\x04", 4)) + "zip"));
  std::string pe(0x80, 'x');
  pe[0] = 'M';
  pe[1] = 'Z';
  pe.replace(0x3C, 4, std::string_view("\x40\0\0\0", 4));  // where the PE header is
  pe.replace(0x40, 4, std::string_view("PE\0\0", 4));
  EXPECT_FALSE(looksLikeText(pe));
  // "MZ" alone starts a word as well as a program.
  EXPECT_TRUE(looksLikeText("MZ_CONSTANT = 1;\n" + std::string(100, ' ')));
}

TEST(TextCheck, ControlBytesDecideOnlyWhenTheyAreMany) {
  std::string mostlyNul(1000, '\0');
  EXPECT_FALSE(looksLikeText(mostlyNul));
  std::string bitmap = "BM" + std::string(60, '\0') + std::string(200, '\x7f');
  EXPECT_FALSE(looksLikeText(bitmap));
  // A stray NUL, a lone CR, tabs, form feeds, escapes and Ctrl-Z are text.
  EXPECT_TRUE(looksLikeText(std::string("a\0b\nx\ry\r\n", 10) + std::string(100, 'q')));
  EXPECT_TRUE(looksLikeText("\tint x;\f\n\x1b[1m\x1a"));
  EXPECT_TRUE(looksLikeText(std::string("\0\0\0", 3)));
  EXPECT_TRUE(looksLikeText(""));
  // One control byte in ten is still text; more is not.
  std::string edge(100, 'a');
  for (int i = 0; i < 10; ++i) edge[i * 10] = '\x01';
  EXPECT_TRUE(looksLikeText(edge));
  edge[5] = '\x02';
  EXPECT_FALSE(looksLikeText(edge));
}

TEST(TextCheck, Utf16WithItsMarkIsText) {
  EXPECT_TRUE(looksLikeText(std::string("\xFF\xFEi\0n\0t\0", 8)));
  EXPECT_TRUE(looksLikeText(std::string("\xFE\xFF\0i\0n\0t", 8)));
}

TEST(TextCheck, OnlyTheStartOfAFileCounts) {
  std::string text(textCheckSize, 'a');
  EXPECT_TRUE(looksLikeText(text + std::string(5000, '\0')));
}

TEST(TextCheck, ABinaryNamedLikeASourceGetsAnEmptyPageAndIsReported) {
  EngineFixture f;
  TempDir dir;
  scripted::reset();
  f.settings.sourceDirectory = f.settings.outputDirectory = dir.path();
  dir.write("logo.cpp", bytes("\x89PNG\r\n\x1a\n") + std::string(300, '\0'));
  dir.write("odd.cpp", std::string("int a;\0\n", 8) + std::string(200, 'x'));
  SourceFileConverter logo(f.context, "logo.cpp");
  SourceFileConverter odd(f.context, "odd.cpp");
  EXPECT_EQ(dir.read("logo.cpp.htm"), crlf(pageHeader(f.settings) + std::string(pageFooter())));
  EXPECT_NE(dir.read("odd.cpp.htm").find(std::string("a;\0</nobr>", 10)), std::string::npos);
  EXPECT_EQ(f.run.convertedFileCount, 1);
  EXPECT_EQ(f.run.problemCount, 1);
  EXPECT_EQ(scripted::listLines(),
            (std::vector<std::string>{"Converting logo.cpp....", "<logo.cpp is not a text file>",
                                      "Converting odd.cpp...."}));
}
