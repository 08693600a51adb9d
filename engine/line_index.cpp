#include "engine/line_index.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "engine/text_tests.h"

namespace quillon {

void QuoteIndex::build(std::string_view line) {
  quotes_.clear();
  const char* data = line.data();
  for (size_t i = line.find('"'); i != npos; i = line.find('"', i + 1))
    if (i == 0 || data[i - 1] != '\\') quotes_.push_back(i);
  built_ = true;
}

size_t QuoteIndex::countBefore(size_t e) const {
  return static_cast<size_t>(std::lower_bound(quotes_.begin(), quotes_.end(), e) - quotes_.begin());
}

// `insideQuotes` walks the counted quotes with an open flag: every quote before e only
// toggles the flag (its early answers need a quote at or after e), so the flag at e is
// the parity of the quotes before e. Then: open, and any quote at or after e closes the
// stretch around e (true); closed, and a quote exactly at e opens one that is true when
// any quote follows; closed otherwise, and the next quote lies beyond e (false).
bool QuoteIndex::inside(size_t e) const {
  const size_t j = countBefore(e);
  const size_t count = quotes_.size();
  if (j % 2 == 1) return j < count;
  return j < count && quotes_[j] == e && j + 1 < count;
}

// A tag inserted before e holds its quotes in pairs, and a pair seen while walking toward
// e toggles the flag twice: nothing changes. A tag at or after e adds quotes after e: they
// answer "true" where the walk needs any quote after e and the original line has none
// left. A tag directly before the character at e pushes a quote standing there past e.
bool QuoteIndex::insideWithTags(size_t e, bool tagAtE, bool quotedTagAtOrAfterE) const {
  const size_t j = countBefore(e);
  const size_t count = quotes_.size();
  if (j % 2 == 1) return j < count || quotedTagAtOrAfterE;
  if (j < count && quotes_[j] == e) {
    if (tagAtE) return false;
    return j + 1 < count || quotedTagAtOrAfterE;
  }
  return false;
}

// Between one "<" and the next, `insideTag` judges by the first: a position p after it
// is inside when no ">" stands between them (p at most that ">") and the "<" begins one
// of the own tags. Each stretch of the line is read once.
void TagIndex::build(std::string_view line) {
  spans_.clear();
  size_ = line.size();
  built_ = true;
  const char* data = line.data();
  const size_t n = line.size();
  const void* found = n ? std::memchr(data, '<', n) : nullptr;
  while (found) {
    const size_t open = static_cast<size_t>(static_cast<const char*>(found) - data);
    found = open + 1 < n ? std::memchr(data + open + 1, '<', n - open - 1) : nullptr;
    if (!beginsOwnTag(line, open)) continue;
    const size_t next = found ? static_cast<size_t>(static_cast<const char*>(found) - data) : n;
    const void* close = std::memchr(data + open + 1, '>', next - open - 1);
    const size_t last = close ? static_cast<size_t>(static_cast<const char*>(close) - data) : next;
    spans_.push_back({open, last});
  }
}

bool TagIndex::inside(size_t p) const {
  if (spans_.empty() || p > size_) return false;
  // The last stretch whose "<" stands before p.
  auto after = std::upper_bound(spans_.begin(), spans_.end(), p,
                                [](size_t q, const Span& s) { return q <= s.open; });
  return after != spans_.begin() && p <= std::prev(after)->last;
}

CommentMarkers CommentMarkers::of(std::string_view line) {
  CommentMarkers m;
  // One pass over the slashes finds all three markers' first positions.
  const char* data = line.data();
  const size_t n = line.size();
  for (const char* s = n ? static_cast<const char*>(std::memchr(data, '/', n)) : nullptr; s;) {
    size_t i = static_cast<size_t>(s - data);
    if (i + 1 < n && data[i + 1] == '/' && m.lineComment == npos) m.lineComment = i;
    if (i + 1 < n && data[i + 1] == '*' && m.blockOpen == npos) m.blockOpen = i;
    if (i > 0 && data[i - 1] == '*' && m.blockClose == npos) m.blockClose = i - 1;
    if (m.lineComment != npos && m.blockOpen != npos && m.blockClose != npos) break;
    s = i + 1 < n ? static_cast<const char*>(std::memchr(data + i + 1, '/', n - i - 1)) : nullptr;
  }
  return m;
}

void WordScanner::reset(std::string_view line) {
  line_ = line;
  markers_ = CommentMarkers::of(line);
  quotes_.clear();
  tags_.clear();
}

std::string_view WordScanner::next(size_t& pos, bool inBlockComment) {
  const size_t n = line_.size();
  if (inBlockComment) {
    pos = n;
    return {};
  }
  size_t start = pos;
  while (start < n && !isWordChar(line_[start])) ++start;
  if (start >= n) {
    pos = n;
    return {};
  }
  size_t end = start;
  while (end < n && isWordChar(line_[end])) ++end;
  pos = end < n ? end + 1 : n;  // the separator that ended the word is consumed with it
  if (markers_.hideAt(pos)) {
    pos = n;
    return {};
  }
  if (!quotes_.built()) quotes_.build(line_);
  if (!tags_.built()) tags_.build(line_);
  if (tags_.inside(start) || quotes_.inside(end)) {
    pos = n;
    return {};
  }
  return line_.substr(start, end - start);
}

void applyInsertions(std::string_view line, const std::vector<Insertion>& insertions,
                     std::string& out) {
  size_t added = 0;
  for (const Insertion& i : insertions) added += i.text.size();
  out.resize(line.size() + added);
  char* w = out.data();
  size_t copied = 0;
  for (const Insertion& i : insertions) {
    std::memcpy(w, line.data() + copied, i.gap - copied);
    w += i.gap - copied;
    std::memcpy(w, i.text.data(), i.text.size());
    w += i.text.size();
    copied = i.gap;
  }
  std::memcpy(w, line.data() + copied, line.size() - copied);
}

}  // namespace quillon
