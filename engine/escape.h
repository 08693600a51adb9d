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

}  // namespace quillon
