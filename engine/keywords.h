#pragma once
// The keyword pass: the keywords of the file's language take the keyword colour.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_kinds.h"

namespace quillon {

struct SourceFileConverter;

/// The keyword table of a language, in the order it is applied (C/C++ for None).
struct KeywordTable {
  const std::string_view* words;
  size_t size;
  const std::string_view* begin() const { return words; }
  const std::string_view* end() const { return words + size; }
};
KeywordTable keywordTableFor(SourceLanguage language);

/// Wraps the qualifying occurrences of `keyword` from `start` on in the keyword colour.
/// Only the first occurrence is examined; when it does not qualify, later ones on the
/// line are left alone too.
void colourKeyword(const SourceFileConverter& converter, std::string& line,
                   std::string_view keyword, size_t start);

/// Applies `colourKeyword` for every keyword of the language's table, in table order.
void colourKeywords(const SourceFileConverter& converter, std::string& line,
                    SourceLanguage language);

/// An occurrence of a keyword in a line: the keyword's first table entry in the top 16
/// bits, the start below it (one word, so that recording it is a single store, and
/// ordering occurrences puts each keyword's together, in table order, each in ascending
/// order).
struct KeywordOccurrence {
  static constexpr unsigned rankShift = 48;
  uint64_t key;
  size_t rank() const { return static_cast<size_t>(key >> rankShift); }
  size_t start() const { return static_cast<size_t>(key & ((uint64_t{1} << rankShift) - 1)); }
};

/// The most entries a keyword table may have (an occurrence keeps its entry in 16 bits).
inline constexpr size_t maxKeywordTableSize = (1u << 16) - 1;

/// What the line pass knows of a line when the keyword pass begins.
struct KeywordLineFacts {
  bool mayHoldSlash = true;  ///< false: the line holds no "/" (so no comment marker)
  bool mayHoldQuote = true;  ///< false: the line holds no double quote
  /// When set, the line is `appendEscaped` of this source line, which the keyword
  /// search can read instead (it is shorter)...
  const std::string* source = nullptr;
  /// ...with, when set, copies of this tag and "</font>" inserted next to comment markers
  /// or at the end of the line, and nothing else (the comment passes' tags).
  const std::string* commentTag = nullptr;
  /// When set with `source`, the occurrences `KeywordMatcher::escapeAndFind` found in it
  /// with the matcher of the language given; the pass may take them over.
  std::vector<KeywordOccurrence>* found = nullptr;
};

/// `colourKeywords` told what is known of the line. True when it may have coloured
/// "class", "struct" or "enum": only then can the recognition passes find a declaration.
bool colourKeywords(const SourceFileConverter& converter, std::string& line,
                    SourceLanguage language, KeywordLineFacts facts);

}  // namespace quillon
