#include "app/preview_layout.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

/// The glyphs of line `n`, as "c@x" texts.
std::string lineOf(const std::vector<PreviewGlyph>& glyphs, int n, int height) {
  std::string out;
  for (const PreviewGlyph& g : glyphs)
    if (g.y == n * height) out += std::string(1, g.character) + "@" + std::to_string(g.x) + " ";
  return out;
}

}  // namespace

TEST(PreviewLayout, MarkersTakeNoRoomAndEveryCellIsEightPixels) {
  const ColorScheme colors;
  const std::vector<PreviewGlyph> glyphs = layoutPreview(colors, 18);
  EXPECT_EQ(lineOf(glyphs, 3, 18), "i@8 n@16 t@24  @32 m@40 a@48 i@56 n@64 (@72 )@80 ");
  EXPECT_EQ(lineOf(glyphs, 2, 18), " @8 ");  // the third line is one blank
  EXPECT_EQ(lineOf(glyphs, 4, 18), "{@8 ");
  for (const PreviewGlyph& g : glyphs) {
    EXPECT_NE(g.character, '*');
    EXPECT_NE(g.character, '|');
    EXPECT_NE(g.character, '%');
  }
  // The comment line: five blanks, then "//" right after them.
  const std::string comment = lineOf(glyphs, 5, 18);
  EXPECT_EQ(comment.substr(0, 30), " @8  @16  @24  @32  @40 /@48 /");
  EXPECT_EQ(glyphs.back().y, 8 * 18);
}

TEST(PreviewLayout, DefaultColoursShowKeywordsBlueTextBlackCommentsGreen) {
  ColorScheme colors;
  colors.defaultText = 0x123456;  // told apart from the device's black start colour
  const std::vector<PreviewGlyph> glyphs = layoutPreview(colors, 16, 0x000000);
  std::string include, header, comment;
  for (const PreviewGlyph& g : glyphs) {
    if (g.y == 0 && g.color == colors.keyword) include += g.character;
    if (g.y == 0 && g.color == colors.defaultText) header += g.character;
    if (g.y == 5 * 16 && g.color == colors.comment) comment += g.character;
  }
  EXPECT_EQ(include, "#include ");
  EXPECT_EQ(header, "<iostream>");
  EXPECT_EQ(comment, "//This prints your conversion");
  EXPECT_EQ(ColorScheme().keyword, 0xFF0000u);  // blue in the Windows layout
  EXPECT_EQ(ColorScheme().comment, 0x008000u);

  // The colour carries over lines: "{" keeps the default colour of "main()" before it,
  // and the blanks before "//" keep it too.
  for (const PreviewGlyph& g : glyphs) {
    if (g.y == 4 * 16 || (g.y == 5 * 16 && g.x < 48)) {
      EXPECT_EQ(g.color, colors.defaultText);
    }
  }
}

TEST(PreviewLayout, WithRichColoursTheLiteralsNumberAndDirectiveShowTheirColours) {
  ColorScheme colors;
  colors.defaultText = 0x123456;
  std::string file, text, number;
  for (const PreviewGlyph& g : layoutPreview(colors, 16, 0x000000, true)) {
    if (g.y == 0 && g.color == colors.preprocessor) file += g.character;
    if (g.y == 6 * 16 && g.color == colors.string) text += g.character;
    if (g.y == 7 * 16 && g.color == colors.number) number += g.character;
    EXPECT_TRUE(g.character != '$' && g.character != '~' && g.character != '^');
  }
  EXPECT_EQ(file, "<iostream>");
  EXPECT_EQ(text, "\"You've been Quilloned!\"");
  EXPECT_EQ(number, "1");
  // Both examples keep every character in the same cell.
  const std::vector<PreviewGlyph> plain = layoutPreview(colors, 16), rich = layoutPreview(colors, 16, 0, true);
  ASSERT_EQ(plain.size(), rich.size());
  for (size_t i = 0; i < plain.size(); ++i) EXPECT_EQ(plain[i].x, rich[i].x);
}
