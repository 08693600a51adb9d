#pragma once
// The tokens of a C or C++ source for the cross-reference scan: identifiers, numbers,
// literals and punctuators with their places, comments and line continuations passed
// over, and the preprocessor's lines kept apart from the code.
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon::xref::cpp {

enum class TokenKind : std::uint8_t { Identifier, Number, Literal, Punctuator };

/// Bits of `Token::flags` for identifiers.
enum TokenFlags : std::uint8_t {
  Keyword = 1,  ///< a keyword or builtin type of C or C++ (never a record)
  TypeWord = 2, ///< a builtin type word (int, unsigned, auto...)
};

/// A punctuator of up to three bytes packed in one number: `op("->")`.
constexpr std::uint32_t op(const char* s) {
  return s[0] == 0 ? 0u
                   : std::uint32_t(std::uint8_t(s[0])) |
                         (s[1] == 0 ? 0u
                                    : std::uint32_t(std::uint8_t(s[1])) << 8 |
                                          (s[2] == 0 ? 0u : std::uint32_t(std::uint8_t(s[2])) << 16));
}

struct Token {
  std::uint32_t begin = 0, size = 0;  ///< where it stands in the text
  std::uint32_t line = 0, column = 0; ///< line from 1, byte offset in the line
  std::uint32_t op = 0;               ///< punctuators: `op(...)` of their bytes
  TokenKind kind = TokenKind::Punctuator;
  std::uint8_t flags = 0;
};

struct Tokens {
  std::vector<Token> code;       ///< outside the preprocessor's lines
  std::vector<Token> directives; ///< the tokens of the preprocessor's lines after "#"
  /// Where each preprocessor line's tokens start in `directives` (one past: the next's).
  std::vector<std::uint32_t> directiveStarts;
};

/// Splits `text` into tokens. Any bytes at all: unterminated comments and literals end
/// with the text (a literal also with its line).
void tokenize(std::string_view text, Tokens& tokens);

/// Keyword and TypeWord bits of an identifier.
std::uint8_t wordFlags(std::string_view word);

}  // namespace quillon::xref::cpp
