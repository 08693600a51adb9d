#pragma once
// The rich pass: string and character literals, numbers and preprocessor directives take
// colours of their own. It runs last, over the line as the other passes left it: the
// comment passes stay the judge of what is a comment (the pass colours nothing inside a
// comment and reads none of it), links keep their look, keywords keep their colour,
// except that a keyword the keyword pass coloured inside what is a literal loses it (the
// literal's colour wins there: the keyword pass cannot see literals that span lines).
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/file_kinds.h"

namespace quillon {

struct SourceFileConverter;

/// What a line leaves open for the next: a raw string with its delimiter, a verbatim
/// string, a text block or raw string of quotes, a string or a directive whose line ends
/// in a backslash. `Code` when nothing is open; each file starts there.
struct LiteralState {
  enum Kind : uint8_t {
    Code,
    Directive,     ///< "#" first on its line, to the end of the line
    Number,
    String,        ///< "..." with backslash escapes
    Char,          ///< '...' with backslash escapes
    VbString,      ///< Visual Basic's "...", with "" for a quote
    Verbatim,      ///< C#'s @"...", over lines, with "" for a quote
    Interpolated,  ///< C#'s $"...", its holes {...} part of the literal
    InterpolatedVerbatim,  ///< C#'s $@"..." or @$"..."
    Raw,           ///< C++'s R"delimiter(...)delimiter", over lines
    Block,         ///< Java's text block, C#'s raw string: closed by `quotes` quotes
  };
  Kind kind = Code;
  uint8_t quotes = 0;     ///< Block: how many quotes in a row close it
  bool escapes = false;   ///< Block: a backslash escapes the next character (Java)
  uint8_t holes = 0;      ///< interpolated: the braces open in a hole
  std::string delimiter;  ///< Raw: the characters between the quote and "("
};

/// The longest delimiter of a raw string that C++ allows; a longer one makes no raw string.
inline constexpr size_t maxRawDelimiter = 16;

/// Whether a line that escaping found to hold `holds` (engine/escape.h) may hold a literal
/// or directive of `language` when none is open: it needs a quote, a digit, "#" (not in
/// Java), "'" (not in Visual Basic, whose "'" begins a comment) or, in Visual Basic, "&"
/// (&H1F).
bool mayHoldLiteral(unsigned holds, SourceLanguage language);

/// Whether the source line `source` (before escaping) may hold a literal, number or
/// directive of `language` when none is open: a quote, an apostrophe (not in Visual
/// Basic), "#" (not in Java), "&" (Visual Basic) or a digit that begins no name's part
/// (x1 holds none), before the line's first comment marker ("//", or "'" in Visual
/// Basic) that no quote or apostrophe comes before, from where the comment passes take
/// the rest of the line for a comment.
bool sourceMayHoldLiteral(std::string_view source, SourceLanguage language);

/// Colours the literals, numbers and directives of a converted line and keeps
/// `converter.literals` for the next line. `startsInComment`: the line began inside a
/// block comment. A line is left as it was where it needs no colour.
void colourLiterals(SourceFileConverter& converter, std::string& line, bool startsInComment);

}  // namespace quillon
