#pragma once
// The line pass: every source line is escaped, then edited by the linking, comment,
// keyword and recognition passes in a fixed order, then wrapped so the browser never
// breaks it.
#include <string>
#include <string_view>

namespace quillon {

struct SourceFileConverter;

/// The passes that the layers above the engine add to the line pass, each called at its
/// place in the order: the links of the names they recorded (after the reference links)
/// and the anchors of the declarations they recognise (last, for languages that have
/// them, when the keyword pass may have marked a declaring keyword). The class model
/// gives its own (`classModelPasses`); a null pass is skipped.
struct NamePasses {
  void (*linkNames)(const SourceFileConverter& converter, std::string& line) = nullptr;
  void (*anchorDeclarations)(SourceFileConverter& converter, std::string& line) = nullptr;
};

/// Converts one source line (without its line end) in place, in this order: byte-order
/// mark, escaping, include links, reference links, the links of recorded names (the
/// cross-references' placed names, else the context's `NamePasses`), line comments,
/// block comments, keywords of the file's language, for C/C++, C# and Java the
/// declarations' anchors, and with rich colours the literals, numbers and directives.
void convertLine(SourceFileConverter& converter, std::string& line);

/// Appends the page entry of a converted line: "<nobr>" line "</nobr><br>" and a line end;
/// with a line `number` (from 1), the line's anchor (see `appendEntryStart`).
void appendPageEntry(std::string& body, const std::string& line, size_t number = 0,
                     bool numberShown = true);

/// Appends what opens a page entry: "<nobr>", and with a `number` the line's anchor,
/// `<a id="L12" href="#L12"></a>`, which the page's style (`lineNumberStyle`) shows as
/// the line's number; when the number is not shown, the line carries the anchor,
/// `<nobr id=L12>` (a page of cross-references or text search without line numbers).
void appendEntryStart(std::string& body, size_t number, bool numberShown = true);

/// The style element that a page with line numbers has in its head: each line's anchor
/// shows the line's number, in a gutter that selecting and copying the text leave out.
std::string_view lineNumberStyle();

}  // namespace quillon
