#pragma once
// The reading of literals, numbers and directives that the rich pass colours by: one
// character of the source at a time, fed from the escaped line (engine/rich_pass.cpp).
#include <array>
#include <cstdint>
#include <string_view>

#include "engine/file_kinds.h"
#include "engine/rich_pass.h"

namespace quillon {

/// What a character of the source is part of.
enum class LiteralColour : uint8_t { None, String, Number, Directive };

/// The source character at `i` of an escaped line: the escaping's entities ("&nbsp;",
/// "&lt", "&lt;", "&gt", "&gt;", "&amp;") stand for one character each. `size` is the
/// length of its text. `i` must not begin a tag.
inline char sourceCharAt(std::string_view line, size_t i, size_t* size) {
  *size = 1;
  if (line[i] != '&') return line[i];
  const std::string_view rest = line.substr(i);
  // Escaping writes these entities whole, and a "&" of the source before a letter as "&amp;".
  switch (rest.size() > 1 ? rest[1] : '\0') {
    case 'n':
      if (rest.compare(0, 6, "&nbsp;") != 0) return '&';
      *size = 6;
      return ' ';
    case 'a':
      if (rest.compare(0, 5, "&amp;") == 0) *size = 5;
      return '&';
    case 'l':
    case 'g':
      if (rest.size() < 3 || rest[2] != 't') return '&';
      *size = rest.size() > 3 && rest[3] == ';' ? 4 : 3;
      return rest[1] == 'l' ? '<' : '>';
    default:
      return '&';
  }
}

/// Reads the characters of one escaped line outside comments, in order, with the state
/// the line before left (`state`, updated as it goes).
class LiteralLexer {
 public:
  LiteralLexer(std::string_view line, SourceLanguage language, LiteralState& state);

  /// The character `c` at `i`, whose text ends at `next`: what it is part of.
  LiteralColour step(char c, size_t i, size_t next);
  /// Reads on from `i` over characters that neither begin nor end anything in the state
  /// in hand (the letters of names, blanks and operators in code; the plain text of a
  /// string), as `step` would, up to the next tag at most. Returns where it stopped (`i`
  /// when it read nothing) and what the characters read are part of.
  size_t skipPlain(size_t i, LiteralColour* colour);
  /// A tag stands here: a prefix ends unrecognised if it is split by one.
  void tag() { identTagged_ = identTagged_ || prevIdent_; }
  /// Whether the character read last is inside a literal (or its opening).
  bool inLiteral() const;
  /// A literal began before the character just read, at `prefixGap()`: its prefix (L, u8,
  /// R ...) directly before its quote, whose characters were read as an identifier.
  bool takePrefix() {
    const bool p = prefix_;
    prefix_ = false;
    return p;
  }
  size_t prefixGap() const { return identGap_; }
  /// At the end of the line: the state the next line starts in. `last` is the line's
  /// last character outside a comment (0 when the line ended in a comment).
  void endLine(char last);

 private:
  LiteralColour code(char c, size_t i, size_t next);
  bool tryPrefix(std::string_view prefix, size_t i);
  LiteralColour openString(size_t i);
  LiteralColour openChar();
  LiteralColour openPrefixed(size_t i);
  bool tryRaw(size_t i);
  void startNumber(char c, bool hex);
  bool continuesNumber(char c, size_t next);
  LiteralColour quoted(char c, char quote);
  LiteralColour doubled(char c, size_t next);
  LiteralColour interpolated(char c, size_t next);
  LiteralColour raw(char c);
  LiteralColour block(char c);
  void endLiteral();
  size_t skipCode(size_t i);
  size_t skipText(size_t i, const std::array<bool, 256>& stops) const;
  bool cLike() const { return language_ == SourceLanguage::Cpp || language_ == SourceLanguage::None; }
  char byteAt(size_t i) const { return i < line_.size() ? line_[i] : '\0'; }

  std::string_view line_;
  SourceLanguage language_;
  LiteralState& state_;
  unsigned skip_ = 0;        ///< characters still to come of a literal's opening
  bool escape_ = false;      ///< a backslash came last in an escaping literal
  bool atLineStart_ = true;  ///< only blanks so far
  bool lineStart_ = true;    ///< only blanks before the character in hand
  bool prevIdent_ = false;   ///< the character before was part of an identifier
  bool identTagged_ = false;
  bool prefix_ = false;
  char ident_[4] = {};       ///< the identifier's first characters
  size_t identSize_ = 0;
  size_t identGap_ = 0;      ///< where the identifier began
  bool numberHex_ = false;
  bool vbSuffix_ = false;    ///< a Visual Basic type character ended the number
  char numberPrev_ = 0;
  size_t rawMatch_ = 0;      ///< how much of ")delimiter\"" was read
  unsigned quoteRun_ = 0;    ///< quotes in a row in a block
  char holeQuote_ = 0;       ///< the quote of a literal inside a hole
};

}  // namespace quillon
