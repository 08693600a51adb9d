#pragma once
// Keywords coloured besides the fixed tables: today's keywords of each language and a
// user's own words, added after each table's entries and matched by the same rules.
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/keyword_matcher.h"
#include "engine/keywords.h"

namespace quillon {

struct SourceFileConverter;

/// The languages a keywords file names, in the order of its sections' names.
inline constexpr std::array<SourceLanguage, 4> keywordLanguages = {
    SourceLanguage::Cpp, SourceLanguage::CSharp, SourceLanguage::Java, SourceLanguage::VB};

/// What is added to the fixed tables; nothing by default.
struct KeywordAdditions {
  bool modern = false;  ///< today's keywords of each language
  /// A user's own words per language, by `keywordLanguages`, in the order given.
  std::array<std::vector<std::string>, 4> words;
};

/// Today's keywords of a language that its fixed table lacks (C/C++ for None), in the
/// order in which they are applied after the table's own entries.
KeywordTable modernKeywordsFor(SourceLanguage language);

/// The tables and matchers of one choice of additions: each language's fixed table, then
/// its modern keywords when chosen, then the user's words (a word already in the table
/// is not added again).
class KeywordSet {
 public:
  explicit KeywordSet(const KeywordAdditions& additions);
  KeywordSet(const KeywordSet&) = delete;
  KeywordSet& operator=(const KeywordSet&) = delete;

  KeywordTable table(SourceLanguage language) const;
  const KeywordMatcher& matcher(SourceLanguage language) const;

 private:
  static size_t slot(SourceLanguage language);
  std::vector<std::string> owned_[4];     ///< the user's words the tables point into
  std::vector<std::string_view> tables_[4];
  std::vector<std::unique_ptr<KeywordMatcher>> matchers_;
};

/// The table and matcher a converter colours `language` with: the fixed ones, or those
/// of the converter's keyword set.
KeywordTable keywordTableFor(const SourceFileConverter& converter, SourceLanguage language);
const KeywordMatcher& keywordMatcherFor(const SourceFileConverter& converter,
                                        SourceLanguage language);

/// The longest word and the most words per language that a keywords file may give.
inline constexpr size_t maxUserKeywordLength = 64;
inline constexpr size_t maxUserKeywords = 1000;

/// Reads the text of a keywords file into `additions` (appending). Sections "[cpp]",
/// "[cs]", "[java]" and "[vb]" (letter case ignored) name the language of the words
/// that follow; words are separated by blanks and line ends; a word that is just "#"
/// begins a comment to the end of its line. A word is made of letters, digits and
/// "_", "#", "$", "@", "-", and is none of "nbsp", "lt" and "gt" (the page's escapes).
/// False with `error` ("line N: what is wrong") otherwise.
bool readKeywordFile(std::string_view text, KeywordAdditions* additions, std::string* error);

}  // namespace quillon
