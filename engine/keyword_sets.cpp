#include "engine/keyword_sets.h"

#include <algorithm>

#include "engine/converter.h"

namespace quillon {

namespace {

// Today's keywords, each list holding only words its language's fixed table lacks. Left
// out everywhere: "or" and "on", which the program's own tags spell (<font color=...>),
// and "add", which a colour's hex digits can spell; a keyword found inside a tag can
// never be coloured on a line that holds one, and the tags must hold none for the pass
// to colour a line in one sweep.

// C++ through C++23: keywords, alternative tokens, identifiers with special meaning and
// directives.
const std::string_view modernCpp[] = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "char8_t",
    "char16_t", "char32_t", "co_await", "co_return", "co_yield", "compl", "concept",
    "consteval", "constexpr", "constinit", "const_cast", "decltype", "dynamic_cast",
    "explicit", "export", "friend", "goto", "mutable", "noexcept", "not", "not_eq", "nullptr",
    "or_eq", "register", "reinterpret_cast", "requires", "signed", "sizeof", "static_assert",
    "static_cast", "template", "thread_local", "throw", "typeid", "typename", "union", "using",
    "wchar_t", "xor", "xor_eq", "final", "override", "import", "module", "#line", "#warning",
    "#elifdef", "#elifndef",
};

// C# through C# 12: the contextual keywords and the directives the table lacks.
const std::string_view modernCSharp[] = {
    "alias", "and", "ascending", "async", "await", "by", "descending", "dynamic", "equals",
    "file", "from", "get", "global", "group", "init", "into", "join", "let", "managed",
    "nameof", "nint", "not", "notnull", "nuint", "orderby", "partial", "record", "remove",
    "required", "scoped", "select", "set", "unmanaged", "value", "var", "when", "where", "with",
    "yield", "#nullable", "#pragma",
};

// Java through Java 21: keywords, and the contextual ones of records, sealed classes,
// switch and modules. ("non-sealed" is one word: "-" joins words.)
const std::string_view modernJava[] = {
    "assert", "boolean", "native", "var", "record", "non-sealed", "permits", "yield",
    "when", "module", "open", "requires", "transitive", "exports", "opens", "to", "uses",
    "provides", "with",
};

// Visual Basic .NET through version 16.9: reserved keywords in use, and the contextual
// ones of iterators, async code, queries, custom events and Option statements. ("Key" and
// "Text" are left out: they are everyday member names.)
const std::string_view modernVB[] = {
    "Async", "Await", "Iterator", "Yield", "NameOf", "Of", "Operator", "Partial", "Using",
    "Global", "Continue", "IsNot", "TryCast", "Narrowing", "Widening", "Custom", "CSByte",
    "CUInt", "CULng", "CUShort", "SByte", "UInteger", "ULong", "UShort", "GetXMLNamespace",
    "Out", "Aggregate", "Distinct", "From", "Group", "By", "Into", "Join", "Order", "Skip",
    "Take", "Where", "Explicit", "Strict", "Infer", "Compare", "Binary", "Off", "#ElseIf",
    "#End", "#Disable", "#Enable",
};

template <size_t N>
KeywordTable tableOf(const std::string_view (&words)[N]) {
  return {words, N};
}

bool isKeywordByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_' || c == '#' || c == '$' || c == '@' || c == '-';
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace

KeywordTable modernKeywordsFor(SourceLanguage language) {
  switch (language) {
    case SourceLanguage::CSharp: return tableOf(modernCSharp);
    case SourceLanguage::Java: return tableOf(modernJava);
    case SourceLanguage::VB: return tableOf(modernVB);
    case SourceLanguage::Cpp:
    case SourceLanguage::None: break;
  }
  return tableOf(modernCpp);
}

size_t KeywordSet::slot(SourceLanguage language) {
  switch (language) {
    case SourceLanguage::CSharp: return 1;
    case SourceLanguage::Java: return 2;
    case SourceLanguage::VB: return 3;
    case SourceLanguage::Cpp:
    case SourceLanguage::None: break;
  }
  return 0;
}

KeywordSet::KeywordSet(const KeywordAdditions& additions) {
  for (size_t i = 0; i < keywordLanguages.size(); ++i) {
    const SourceLanguage language = keywordLanguages[i];
    std::vector<std::string_view>& table = tables_[i];
    const KeywordTable fixed = keywordTableFor(language);
    table.assign(fixed.begin(), fixed.end());
    if (additions.modern) {
      const KeywordTable modern = modernKeywordsFor(language);
      table.insert(table.end(), modern.begin(), modern.end());
    }
    // Every word is copied before the table points into them (no reallocation after).
    owned_[i] = additions.words[i];
    for (const std::string& word : owned_[i])
      if (std::find(table.begin(), table.end(), word) == table.end()) table.push_back(word);
    matchers_.push_back(std::make_unique<KeywordMatcher>(KeywordTable{table.data(), table.size()}));
  }
}

KeywordTable KeywordSet::table(SourceLanguage language) const {
  const std::vector<std::string_view>& t = tables_[slot(language)];
  return {t.data(), t.size()};
}

const KeywordMatcher& KeywordSet::matcher(SourceLanguage language) const {
  return *matchers_[slot(language)];
}

KeywordTable keywordTableFor(const SourceFileConverter& converter, SourceLanguage language) {
  return converter.keywords ? converter.keywords->table(language) : keywordTableFor(language);
}

const KeywordMatcher& keywordMatcherFor(const SourceFileConverter& converter,
                                        SourceLanguage language) {
  return converter.keywords ? converter.keywords->matcher(language)
                            : keywordMatcherFor(language);
}

namespace {

/// One word of a keywords file: a section name, or a word of the current section.
bool takeKeywordFileWord(std::string_view word, KeywordAdditions* additions,
                         std::vector<std::string>** section, std::string* what) {
  static const char* const sections[] = {"cpp", "cs", "java", "vb"};
  if (word.front() == '[') {
    const std::string name =
        word.size() >= 2 && word.back() == ']' ? lowered(word.substr(1, word.size() - 2)) : "";
    const auto found = std::find(std::begin(sections), std::end(sections), name);
    if (found == std::end(sections)) {
      *what = "unknown section " + std::string(word) +
              " (the sections are [cpp], [cs], [java] and [vb])";
      return false;
    }
    *section = &additions->words[static_cast<size_t>(found - std::begin(sections))];
    return true;
  }
  if (!*section)
    *what = "the word " + std::string(word) + " comes before any section";
  else if (word.size() > maxUserKeywordLength)
    *what = "a word longer than " + std::to_string(maxUserKeywordLength) + " characters";
  else if (!std::all_of(word.begin(), word.end(), isKeywordByte))
    *what = "'" + std::string(word) + "' is not a word (letters, digits and _ # $ @ - only)";
  else if (word == "nbsp" || word == "lt" || word == "gt")
    *what = "'" + std::string(word) + "' cannot be a keyword: the page writes spaces and angle "
            "brackets with it";
  else if ((*section)->size() >= maxUserKeywords)
    *what = "more than " + std::to_string(maxUserKeywords) + " words for one language";
  else
    (*section)->emplace_back(word);
  return what->empty();
}

}  // namespace

bool readKeywordFile(std::string_view text, KeywordAdditions* additions, std::string* error) {
  std::vector<std::string>* section = nullptr;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // saved as UTF-8 with a mark
  for (size_t lineNumber = 1; !text.empty(); ++lineNumber) {
    const size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    for (size_t i = 0, j; i < line.size(); i = j) {
      for (; i < line.size() && isBlank(line[i]); ++i) {
      }
      for (j = i; j < line.size() && !isBlank(line[j]); ++j) {
      }
      const std::string_view word = line.substr(i, j - i);
      if (word.empty()) break;
      if (word == "#") break;  // a comment to the end of the line
      std::string what;
      if (!takeKeywordFileWord(word, additions, &section, &what)) {
        *error = "line " + std::to_string(lineNumber) + ": " + what;
        return false;
      }
    }
  }
  return true;
}

}  // namespace quillon
