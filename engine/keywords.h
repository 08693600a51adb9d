#pragma once
// The keyword pass: the keywords of the file's language take the keyword colour.
#include <string>
#include <string_view>

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

}  // namespace quillon
