#pragma once
// Making a source line safe and layout-preserving for HTML.
#include <string>
#include <string_view>

namespace quillon {

/// Drops a UTF-8 byte-order mark and everything before its first occurrence.
void stripByteOrderMark(std::string& line);

/// Tabs become "&nbsp;" up to the next stop of 4 columns, spaces "&nbsp;", "<" and ">"
/// "&lt" and "&gt" (without semicolons); every other byte stays as it is.
std::string escapeLine(std::string_view line);

/// The same, appended to `out`.
void appendEscaped(std::string& out, std::string_view line);

/// Bytes that the passes after escaping look for. Escaping neither makes nor removes any
/// of them, so a pass whose marker a line lacks has nothing to do on it.
enum LineHolds : unsigned {
  holdsQuote = 1,               ///< "
  holdsSlash = 2,               ///< /
  holdsStar = 4,                ///< *
  holdsHash = 8,                ///< #
  holdsApostrophe = 16,         ///< '
  holdsByteOrderMarkStart = 32,  ///< the byte 0xEF
  holdsAnything = 63,
};

/// `appendEscaped`, telling which of those bytes the line holds.
unsigned appendEscapedNoting(std::string& out, std::string_view line);

}  // namespace quillon
