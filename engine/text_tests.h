#pragma once
// The text tests that every highlighting and linking pass shares.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace quillon {

constexpr size_t npos = std::string_view::npos;

/// True when both texts are non-empty and `part` occurs in `text` (case-sensitive).
inline bool contains(std::string_view text, std::string_view part) {
  return !text.empty() && !part.empty() && text.find(part) != npos;
}

/// The position just after the first occurrence of `part` in `text`; npos when absent.
inline size_t endOfFirst(std::string_view text, std::string_view part) {
  size_t p = text.find(part);
  return p == npos ? npos : p + part.size();
}

/// Whether two short texts (tags, styles) are equal, compared a word at a time without
/// a library call: some passes ask it of the page's markup once per line.
inline bool sameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const size_t n = a.size();
  auto sameWord = [&](size_t i) {
    uint64_t x, y;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    return x == y;
  };
  if (n < 8) {
    for (size_t i = 0; i < n; ++i)
      if (a[i] != b[i]) return false;
    return true;
  }
  for (size_t i = 0; i + 8 <= n; i += 8)
    if (!sameWord(i)) return false;
  return sameWord(n - 8);  // the tail, overlapping the last word compared
}

namespace detail {
struct WordBytes {
  bool word[256] = {};
  constexpr WordBytes() {
    for (int c = 0; c < 256; ++c)
      word[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                c == '_' || c == '-';
  }
};
inline constexpr WordBytes wordBytes;
}  // namespace detail

/// Letters, digits, "_" and "-". Every other byte, 0x80 and above included, separates.
inline bool isWordChar(char c) { return detail::wordBytes.word[static_cast<unsigned char>(c)]; }

/// Whether `part`, taken at position `p` of `line` (at its first occurrence when `p` is
/// npos), ends inside a double-quoted stretch: one that opens at or before the end of
/// `part` and closes at or after it. A quote right after a backslash does not count.
/// A part that stands inside a tag of the program's own markup counts as quoted too, so
/// that no pass ever edits a tag that an earlier pass inserted, however the quotes of the
/// source fall.
bool insideQuotes(std::string_view line, std::string_view part, size_t p = npos);

/// Whether position `p` of a line lies inside one of the tags that the passes insert
/// ("<a ", "<font ", "</a>", "</font>"): the escaping turns every "<" and ">" of the
/// source into an entity, so a "<" of a converted line always begins a tag.
bool insideTag(std::string_view line, size_t p);

/// Whether the "<" at `open` begins one of those tags.
bool beginsOwnTag(std::string_view line, size_t open);

/// The word scanner: the next run of word characters of `line` at or after `pos`, with
/// `pos` advanced past the character that ended it. A word inside a comment or a quoted
/// string ends the scan: the result is empty and `pos` is the line's length. Inside a
/// block comment (`inBlockComment`) nothing is found.
std::string nextWord(size_t& pos, std::string_view line, bool inBlockComment);

}  // namespace quillon
