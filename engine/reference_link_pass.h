#pragma once
// The reference-link pass: words of the user's table become links to their URLs, and the
// link insertion that the class-name links share.
#include <string>
#include <string_view>

namespace quillon {

struct SourceFileConverter;

enum class LinkVariant {
  NewWindow,  ///< reference links: target="_blank"
  Plain,      ///< class-name links
};

/// Links the qualifying occurrences of `word` from `start` on to `url` (ready for the
/// attribute: the caller escapes it), by the same
/// occurrence rules as the keyword pass except that only a letter before the word
/// (not a digit, "_" or "-") keeps it from being linked.
void linkWord(const SourceFileConverter& converter, std::string& line, std::string_view word,
              std::string_view url, size_t start, LinkVariant variant);

/// Links the words of the reference link table in `line`.
void applyReferenceLinks(const SourceFileConverter& converter, std::string& line);

}  // namespace quillon
