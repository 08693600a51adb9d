#pragma once
// The Color Picker's example: a few lines of C++ with colour markers, laid out in cells
// of 8 pixels so that the preview shows the four page colours at once.
#include <array>
#include <string_view>
#include <vector>

#include "engine/settings.h"

namespace quillon {

/// The example lines. "*" switches to the keyword colour, "|" to the default text colour
/// and "%" to the comment colour; the markers are not drawn.
extern const std::array<std::string_view, 9> previewExampleLines;

/// The same lines as rich colouring shows them: "^" switches to the preprocessor colour
/// (the system file name of the include), "$" to the string colour and "~" to the number
/// colour.
extern const std::array<std::string_view, 9> previewRichExampleLines;

/// One character to draw, at the top-left corner of its cell.
struct PreviewGlyph {
  char character;
  int x;
  int y;
  ColorRef color;
};

/// Every character of the example other than the markers (blanks included), in drawing
/// order: cell (character number - markers so far on the line) x 8 + 8, line number x
/// `lineHeight`. The colour carries over from character to character and from line to
/// line, starting as `initialColor`. With `rich` the rich example's lines.
std::vector<PreviewGlyph> layoutPreview(const ColorScheme& colors, int lineHeight,
                                        ColorRef initialColor = 0, bool rich = false);

}  // namespace quillon
