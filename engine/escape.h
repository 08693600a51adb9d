#pragma once
// Making a source line safe and layout-preserving for HTML.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace quillon {

/// Drops a UTF-8 byte-order mark and everything before its first occurrence.
void stripByteOrderMark(std::string& line);

/// For a line of a UTF-8 page: replaces each tab by the spaces up to the next stop of 4
/// columns, counting characters rather than bytes (a byte-order mark, stripped first as
/// by `stripByteOrderMark`, counts for none). Escaping then gives each space the "&nbsp;"
/// that the tab would have had, so the columns line up as the author saw them. False,
/// with the line untouched, when no multi-byte character stands before a tab: the byte
/// columns of the escaping are then the character columns.
bool expandTabsByCharacters(std::string& line);

/// Whether a browser would read a "&" followed by `next` as the start of a character
/// reference (an ASCII letter, a digit or "#" follows it).
inline bool beginsCharacterReference(char next) {
  return (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') ||
         (next >= '0' && next <= '9') || next == '#';
}

/// Tabs become "&nbsp;" up to the next stop of 4 columns, spaces "&nbsp;", "<" and ">"
/// "&lt" and "&gt" (without semicolons, unless a browser would read them on into what
/// follows: see `escaping::closesAngle`), and a "&" that would begin a character
/// reference "&amp;"; every other byte (any other "&" too) stays as it is.
std::string escapeLine(std::string_view line);

/// The same, appended to `out`.
void appendEscaped(std::string& out, std::string_view line);

/// Bytes that the passes after escaping look for. Escaping neither makes nor removes any
/// of them, so a pass whose marker a line lacks has nothing to do on it.
enum LineHolds : unsigned {
  holdsQuote = 1,               ///< "
  holdsSlash = 2,               ///< /
  holdsStar = 4,                ///< *
  holdsHash = 8,                ///< #
  holdsApostrophe = 16,         ///< '
  holdsByteOrderMarkStart = 32,  ///< the byte 0xEF
  holdsDigit = 64,              ///< 0 to 9
  holdsAmpersand = 128,         ///< &
  holdsAnything = 255,
};

/// `appendEscaped`, telling which of those bytes the line holds.
unsigned appendEscapedNoting(std::string& out, std::string_view line);

namespace escaping {
/// What a byte becomes (eight bytes are always stored, `size` of them kept) and what it
/// tells about the line. A size of 0 marks the bytes whose text depends on where they
/// stand: a tab (on its column), "&" (on the byte after it; its text is "&amp;" or the
/// first byte of that), "<" and ">" (on the bytes after them; "&lt;" or "&lt").
struct Byte {
  char text[8];
  uint8_t size;
  uint8_t holds;
};
constexpr std::array<Byte, 256> makeBytes() {
  std::array<Byte, 256> r{};
  for (int c = 0; c < 256; ++c) r[c] = {{static_cast<char>(c)}, 1, 0};
  r[' '] = {{'&', 'n', 'b', 's', 'p', ';'}, 6, 0};
  r['<'] = {{'&', 'l', 't', ';'}, 0, 0};
  r['>'] = {{'&', 'g', 't', ';'}, 0, 0};
  r['\t'].size = 0;
  r['&'] = {{'&', 'a', 'm', 'p', ';'}, 0, holdsAmpersand};
  r['"'].holds = holdsQuote;
  r['/'].holds = holdsSlash;
  r['*'].holds = holdsStar;
  r['#'].holds = holdsHash;
  r['\''].holds = holdsApostrophe;
  r[0xEF].holds = holdsByteOrderMarkStart;
  for (int c = '0'; c <= '9'; ++c) r[c].holds = holdsDigit;
  return r;
}
inline constexpr std::array<Byte, 256> bytes = makeBytes();
/// The widest tab: four escaped spaces.
inline constexpr char tabText[] = "&nbsp;&nbsp;&nbsp;&nbsp;";
/// The size of the escaped "&" at `i` of `line`.
inline size_t ampersandSize(std::string_view line, size_t i) {
  return i + 1 < line.size() && beginsCharacterReference(line[i + 1]) ? 5 : 1;
}
/// Whether a browser would read the "&lt" or "&gt" of the "<" or ">" at `i` of `line` on
/// into the bytes after it, as a longer character reference: ">;" would show as ">" and
/// "i<cc;" as "i" and the sign U+2AA6. Such an entity is closed with its own ";" ("&gt;;",
/// "i&lt;cc;"); every other one stays without.
bool closesAngle(std::string_view line, size_t i);
/// The size of the escaped "&", "<" or ">" at `i` of `line`.
inline size_t entitySize(std::string_view line, size_t i) {
  return line[i] == '&' ? ampersandSize(line, i) : 3 + closesAngle(line, i);
}
}  // namespace escaping

/// The escaping of one line a byte at a time, from the first byte to the last, for a pass
/// that reads the line while it is escaped (the keyword search). Every byte is written
/// from a table, with no test but the one for the table's size 0 (tabs, which need the
/// visible column, and "&", "<" and ">", which need the bytes after them): spaces sit at unforeseeable
/// places, and a branch on them would be mispredicted at every one.
/// The text is built in a buffer of the thread's; `appendTo` hands it over.
class LineEscaper {
 public:
  explicit LineEscaper(std::string_view line);

  /// Escapes byte i, the one after those escaped so far.
  void put(size_t i) {
    const unsigned char c = static_cast<unsigned char>(line_[i]);
    const Byte& b = bytes[c];
    std::memcpy(w_, b.text, 8);
    if (b.size == 0) {
      holds_ |= b.holds;
      putPlaced(i);
      return;
    }
    w_ += b.size;
    holds_ |= b.holds;
  }
  /// Escapes the bytes from i to the end.
  void putRest(size_t i);

  /// Escapes the bytes from i up to `stop`, calling `visit(i, size(), widened())` before
  /// each. The state is kept in locals meanwhile, which the compiler holds in registers.
  template <class Visit>
  void putVisiting(size_t i, size_t stop, Visit&& visit) {
    const char* const s = line_.data();
    char* w = w_;
    unsigned holds = holds_;
    size_t widened = widened_;
    for (; i < stop; ++i) {
      visit(i, static_cast<size_t>(w - begin_), widened);
      const unsigned char c = static_cast<unsigned char>(s[i]);
      const Byte& b = bytes[c];
      std::memcpy(w, b.text, 8);
      // Rare: laid out away from the path of the other bytes.
      if (__builtin_expect(b.size == 0, 0)) {
        if (b.text[0] == '&') {  // "&", "<" or ">" (its text is stored already)
          holds |= b.holds;
          w += entitySize(i);
          continue;
        }
        const size_t n = 4 - (i + widened) % 4;
        std::memcpy(w, escaping::tabText, 24);
        w += n * 6;
        widened += n - 1;
        continue;
      }
      w += b.size;
      holds |= b.holds;
    }
    w_ = w;
    holds_ = holds;
    widened_ = widened;
  }

  /// The size of the text escaped so far.
  size_t size() const { return static_cast<size_t>(w_ - begin_); }
  /// The visible column of byte i is i + widened().
  size_t widened() const { return widened_; }
  unsigned holds() const { return holds_; }
  /// Hands the text over. The room a line of many megabytes took is given back at once,
  /// so that it is not held beside the copies the later passes make.
  void appendTo(std::string& out) const;

 private:
  using Byte = escaping::Byte;
  static constexpr const std::array<Byte, 256>& bytes = escaping::bytes;

  /// A tab, "&", "<" or ">" at i.
  void putPlaced(size_t i);
  /// The size of the escaped "&", "<" or ">" at i (out of the loop, whose registers it
  /// would take).
  size_t entitySize(size_t i) const;

  std::string_view line_;
  char* begin_;
  char* w_;
  unsigned holds_ = 0;
  size_t widened_ = 0;
};

}  // namespace quillon
