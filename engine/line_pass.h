#pragma once
// The line pass: every source line is escaped, then edited by the linking, comment,
// keyword and recognition passes in a fixed order, then wrapped so the browser never
// breaks it.
#include <string>

namespace quillon {

struct SourceFileConverter;

/// Converts one source line (without its line end) in place, in this order: byte-order
/// mark, escaping, include links, reference links, class-name links, line comments, block
/// comments, keywords of the file's language, and for C/C++, C# and Java the class,
/// struct and enum anchors.
void convertLine(SourceFileConverter& converter, std::string& line);

/// Appends the page entry of a converted line: "<nobr>" line "</nobr><br>" and a line end.
void appendPageEntry(std::string& body, const std::string& line);

}  // namespace quillon
