#pragma once
// The line pass: every source line is escaped, then edited by the linking, comment,
// keyword and recognition passes in a fixed order, then wrapped so the browser never
// breaks it.
#include <string>
#include <string_view>

namespace quillon {

struct SourceFileConverter;

/// Converts one source line (without its line end) in place, in this order: byte-order
/// mark, escaping, include links, reference links, class-name links, line comments, block
/// comments, keywords of the file's language, and for C/C++, C# and Java the class,
/// struct and enum anchors.
void convertLine(SourceFileConverter& converter, std::string& line);

/// Appends the page entry of a converted line: "<nobr>" line "</nobr><br>" and a line end;
/// with a line `number` (from 1), the line's anchor stands right after "<nobr>".
void appendPageEntry(std::string& body, const std::string& line, size_t number = 0);

/// Appends what opens a page entry: "<nobr>", and with a `number` the line's anchor,
/// `<a id="L12" href="#L12"></a>`, which the page's style (`lineNumberStyle`) shows as
/// the line's number.
void appendEntryStart(std::string& body, size_t number);

/// The style element that a page with line numbers has in its head: each line's anchor
/// shows the line's number, in a gutter that selecting and copying the text leave out.
std::string_view lineNumberStyle();

}  // namespace quillon
