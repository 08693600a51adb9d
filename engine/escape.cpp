#include "engine/escape.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

namespace quillon {

void stripByteOrderMark(std::string& line) {
  // Found by its first byte, which ordinary text rarely holds.
  const char* data = line.data();
  const size_t n = line.size();
  for (const void* at = std::memchr(data, 0xEF, n); at;) {
    const size_t p = static_cast<size_t>(static_cast<const char*>(at) - data);
    if (n - p >= 3 && data[p + 1] == '\xBB' && data[p + 2] == '\xBF') {
      line.erase(0, p + 3);
      return;
    }
    at = std::memchr(data + p + 1, 0xEF, n - p - 1);
  }
}

namespace {

constexpr char nbsp[] = "&nbsp;&nbsp;&nbsp;&nbsp;";  // the widest tab
constexpr size_t nbspSize = 6;

/// What a byte becomes (eight bytes are always stored, `size` of them kept) and what it
/// tells about the line.
struct Replacement {
  char text[8];
  uint8_t size;
  uint8_t holds;
};

constexpr std::array<Replacement, 256> makeReplacements() {
  std::array<Replacement, 256> r{};
  for (int c = 0; c < 256; ++c) r[c] = {{static_cast<char>(c)}, 1, 0};
  r[' '] = {{'&', 'n', 'b', 's', 'p', ';'}, 6, 0};
  r['<'] = {{'&', 'l', 't'}, 3, 0};
  r['>'] = {{'&', 'g', 't'}, 3, 0};
  r['"'].holds = holdsQuote;
  r['/'].holds = holdsSlash;
  r['*'].holds = holdsStar;
  r['#'].holds = holdsHash;
  r['\''].holds = holdsApostrophe;
  r[0xEF].holds = holdsByteOrderMarkStart;
  return r;
}
constexpr std::array<Replacement, 256> replacements = makeReplacements();

/// Room for the escaped form of a line of `size` bytes with `tabs` tabs: a byte becomes at
/// most six, a tab at most twenty-four, and the last store reaches eight bytes further.
size_t escapedBound(size_t size, size_t tabs) { return size * nbspSize + tabs * 18 + 8; }

/// A buffer of this thread's that grows as needed and is never cleared.
char* scratch(size_t size) {
  static thread_local std::unique_ptr<char[]> buffer;
  static thread_local size_t capacity = 0;
  if (size > capacity) {
    capacity = std::max(size, capacity * 2);
    buffer.reset(new char[capacity]);
  }
  return buffer.get();
}

}  // namespace

// Every byte is written from a table with no test but the one for tabs, which need the
// visible column; spaces sit at unforeseeable places, and a branch on them would be
// mispredicted at every one.
unsigned appendEscapedNoting(std::string& out, std::string_view line) {
  const size_t tabs = static_cast<size_t>(std::count(line.begin(), line.end(), '\t'));
  char* const begin = scratch(escapedBound(line.size(), tabs));
  char* w = begin;
  unsigned holds = 0;
  size_t widened = 0;  // the visible column of byte i is i + widened
  for (size_t i = 0; i < line.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c == '\t') {
      const size_t n = 4 - (i + widened) % 4;
      std::memcpy(w, nbsp, 4 * nbspSize);
      w += n * nbspSize;
      widened += n - 1;
      continue;
    }
    const Replacement& r = replacements[c];
    std::memcpy(w, r.text, 8);
    w += r.size;
    holds |= r.holds;
  }
  out.append(begin, static_cast<size_t>(w - begin));
  return holds;
}

void appendEscaped(std::string& out, std::string_view line) { appendEscapedNoting(out, line); }

std::string escapeLine(std::string_view line) {
  std::string out;
  appendEscaped(out, line);
  return out;
}

}  // namespace quillon
