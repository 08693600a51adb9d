#pragma once
// The comment passes: "//" comments ("'" in Visual Basic) and "/*" ... "*/" comments,
// which may run over many lines and keep the converter's `inBlockComment` flag.
#include <string>
#include <string_view>

namespace quillon {

struct SourceFileConverter;

/// Where a line comment of `line` starts at or after `start`: the first marker ("//", or
/// "'" in Visual Basic) that does not stand inside a double-quoted string. npos if none.
size_t findLineComment(std::string_view line, bool visualBasic, size_t start = 0);

/// Colours the line comment from its marker to the end of the line. Returns the marker's
/// position in the edited line, or npos when nothing was coloured.
size_t colourLineComment(const SourceFileConverter& converter, std::string& line,
                         size_t start = 0);

/// Colours block comments, setting and clearing `inBlockComment`; a "*/" while no comment
/// is open is plain text. `lineCommentAt` is the position of the "//" that the
/// line-comment pass coloured (npos if none): from there on, unless a block comment is
/// open, the line is comment text and "/*" or "*/" mean nothing.
void colourBlockComments(SourceFileConverter& converter, std::string& line,
                         size_t lineCommentAt = std::string::npos);

}  // namespace quillon
