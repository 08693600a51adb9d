#include "engine/escape.h"

#include <algorithm>
#include <memory>

#include "engine/thread_scratch.h"

namespace quillon {

void stripByteOrderMark(std::string& line) {
  // Found by its first byte, which ordinary text rarely holds.
  const char* data = line.data();
  const size_t n = line.size();
  for (const void* at = n ? std::memchr(data, 0xEF, n) : nullptr; at;) {
    const size_t p = static_cast<size_t>(static_cast<const char*>(at) - data);
    if (n - p >= 3 && data[p + 1] == '\xBB' && data[p + 2] == '\xBF') {
      line.erase(0, p + 3);
      return;
    }
    at = std::memchr(data + p + 1, 0xEF, n - p - 1);
  }
}

bool expandTabsByCharacters(std::string& line) {
  const size_t lastTab = line.rfind('\t');
  if (lastTab == std::string::npos) return false;
  if (std::none_of(line.begin(), line.begin() + lastTab,
                   [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
    return false;
  stripByteOrderMark(line);
  std::string expanded;
  expanded.reserve(line.size() + 16);
  size_t column = 0;
  for (char c : line) {
    if (c == '\t') {
      const size_t n = 4 - column % 4;
      expanded.append(n, ' ');
      column += n;
      continue;
    }
    expanded += c;
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++column;  // not a continuation byte
  }
  line.swap(expanded);
  return true;
}

namespace {

constexpr size_t nbspSize = 6;

/// The thread's buffer for escaped lines: it grows as needed and is never cleared.
struct Scratch {
  std::unique_ptr<char[]> buffer;
  size_t capacity = 0;

  char* reserve(size_t size) {
    if (size > capacity) {
      capacity = std::max({size, capacity * 2, size_t{1} << 16});
      buffer.reset(new char[capacity]);
    }
    return buffer.get();
  }
};

/// Room for the escaped form of `line`: a byte becomes at most six bytes, a tab at most
/// twenty-four, and the last store reaches eight bytes further. Tabs are counted only
/// when room for a line of tabs is not there already, as it is for every usual line.
char* roomFor(std::string_view line) {
  Scratch& scratch = threadScratch<Scratch>();
  const size_t size = line.size();
  if (size * 4 * nbspSize + 8 <= scratch.capacity) return scratch.buffer.get();
  size_t tabs = 0;
  for (const void* at = std::memchr(line.data(), '\t', size); at;) {
    ++tabs;
    const size_t next = static_cast<size_t>(static_cast<const char*>(at) - line.data()) + 1;
    at = std::memchr(line.data() + next, '\t', size - next);
  }
  return scratch.reserve(size * nbspSize + tabs * 3 * nbspSize + 8);
}

}  // namespace

LineEscaper::LineEscaper(std::string_view line) : line_(line) {
  begin_ = w_ = roomFor(line);
}

void LineEscaper::appendTo(std::string& out) const {
  out.append(begin_, size());
  // Only a line whose room may be that large looks at the room (the usual line does not).
  constexpr size_t keptRoom = size_t{64} << 20;
  if (line_.size() * nbspSize <= keptRoom) return;
  Scratch& scratch = threadScratch<Scratch>();
  if (scratch.capacity > keptRoom) {
    scratch.buffer.reset();
    scratch.capacity = 0;
  }
}

bool escaping::closesAngle(std::string_view line, size_t i) {
  if (i + 1 >= line.size()) return false;
  if (line[i + 1] == ';') return true;
  const char next = line[i + 1];
  if (!((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z'))) return false;
  // The character references that begin "lt" or "gt" and go on: each needs its ";".
  static constexpr std::string_view afterLt[] = {"cc;", "cir;", "dot;", "hree;", "imes;", "larr;",
                                                 "quest;", "rPar;", "ri;", "rie;", "rif;"};
  static constexpr std::string_view afterGt[] = {"cc;",    "cir;",     "dot;",      "lPar;",
                                                 "quest;", "rapprox;", "rarr;",     "rdot;",
                                                 "reqless;", "reqqless;", "rless;", "rsim;"};
  const std::string_view rest = line.substr(i + 1);
  auto begins = [rest](std::string_view name) { return rest.substr(0, name.size()) == name; };
  if (line[i] == '<') return std::any_of(std::begin(afterLt), std::end(afterLt), begins);
  return std::any_of(std::begin(afterGt), std::end(afterGt), begins);
}

size_t LineEscaper::entitySize(size_t i) const { return escaping::entitySize(line_, i); }

void LineEscaper::putPlaced(size_t i) {
  if (line_[i] != '\t') {
    w_ += entitySize(i);
    return;
  }
  const size_t n = 4 - (i + widened_) % 4;
  std::memcpy(w_, escaping::tabText, 4 * nbspSize);
  w_ += n * nbspSize;
  widened_ += n - 1;
}

void LineEscaper::putRest(size_t i) {
  putVisiting(i, line_.size(), [](size_t, size_t, size_t) {});
}

unsigned appendEscapedNoting(std::string& out, std::string_view line) {
  LineEscaper escaper(line);
  escaper.putRest(0);
  escaper.appendTo(out);
  return escaper.holds();
}

void appendEscaped(std::string& out, std::string_view line) { appendEscapedNoting(out, line); }

std::string escapeLine(std::string_view line) {
  std::string out;
  appendEscaped(out, line);
  return out;
}

}  // namespace quillon
