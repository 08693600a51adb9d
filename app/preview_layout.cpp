#include "app/preview_layout.h"

namespace quillon {

const std::array<std::string_view, 9> previewExampleLines = {
    "*#include |<iostream>",
    "*using namespace |std;",
    " ",
    "*int |main()",
    "{",
    "     %//This prints your conversion",
    "     |cout << \"You've been Quilloned!\" << endl;",
    "     *return |1;",
    "}",
};

std::vector<PreviewGlyph> layoutPreview(const ColorScheme& colors, int lineHeight,
                                        ColorRef initialColor) {
  std::vector<PreviewGlyph> glyphs;
  ColorRef color = initialColor;
  int y = 0;
  for (std::string_view line : previewExampleLines) {
    int markers = 0;
    for (size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '*' || c == '|' || c == '%') {
        color = c == '*' ? colors.keyword : c == '|' ? colors.defaultText : colors.comment;
        ++markers;
        continue;
      }
      glyphs.push_back({c, (static_cast<int>(i) - markers) * 8 + 8, y, color});
    }
    y += lineHeight;
  }
  return glyphs;
}

}  // namespace quillon
