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

const std::array<std::string_view, 9> previewRichExampleLines = {
    "*#include ^<iostream>",
    "*using namespace |std;",
    " ",
    "*int |main()",
    "{",
    "     %//This prints your conversion",
    "     |cout << $\"You've been Quilloned!\"| << endl;",
    "     *return ~1|;",
    "}",
};

namespace {

/// The colour a marker switches to; false for a character that is no marker.
bool markerColour(char c, const ColorScheme& colors, bool rich, ColorRef* color) {
  switch (c) {
    case '*': *color = colors.keyword; return true;
    case '|': *color = colors.defaultText; return true;
    case '%': *color = colors.comment; return true;
    default: break;
  }
  if (!rich) return false;
  switch (c) {
    case '^': *color = colors.preprocessor; return true;
    case '$': *color = colors.string; return true;
    case '~': *color = colors.number; return true;
    default: return false;
  }
}

}  // namespace

std::vector<PreviewGlyph> layoutPreview(const ColorScheme& colors, int lineHeight,
                                        ColorRef initialColor, bool rich) {
  std::vector<PreviewGlyph> glyphs;
  ColorRef color = initialColor;
  int y = 0;
  for (std::string_view line : rich ? previewRichExampleLines : previewExampleLines) {
    int markers = 0;
    for (size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (markerColour(c, colors, rich, &color)) {
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
