#include "engine/text_tests.h"

namespace quillon {

bool insideTag(std::string_view line, size_t p) {
  if (p == 0 || p > line.size()) return false;
  const size_t open = line.rfind('<', p - 1);
  if (open == npos) return false;
  const size_t close = line.rfind('>', p - 1);
  if (close != npos && close > open) return false;
  // Only the passes' own tags: a raw line (as the member scan reads it) may hold a "<"
  // of its own.
  for (std::string_view own : {"<a ", "<font ", "</a>", "</font>"})
    if (line.compare(open, own.size(), own) == 0) return true;
  return false;
}

bool insideQuotes(std::string_view line, std::string_view part, size_t p) {
  if (p == npos) {
    p = line.find(part);
    if (p == npos) return false;
  }
  if (insideTag(line, p)) return true;
  const size_t e = p + part.size();
  bool open = false;
  for (size_t i = line.find('"'); i != npos; i = line.find('"', i + 1)) {
    if (i > 0 && line[i - 1] == '\\') continue;
    if (!open) {
      if (i > e) return false;
      open = true;
    } else {
      if (i >= e) return true;
      open = false;
    }
  }
  return false;
}

std::string nextWord(size_t& pos, std::string_view line, bool inBlockComment) {
  const size_t n = line.size();
  if (inBlockComment) {
    pos = n;
    return {};
  }
  size_t start = pos;
  size_t end = pos;
  for (;;) {
    start = pos;
    end = start;
    while (end < n && isWordChar(line[end])) ++end;
    pos = end < n ? end + 1 : n;  // the separator that ended the word is consumed with it
    if (end > start) break;
    if (pos >= n) return {};
  }
  size_t lineComment = line.find("//");
  if (lineComment != npos && lineComment < pos) {
    pos = n;
    return {};
  }
  size_t open = line.find("/*");
  if (open != npos && open < pos) {
    size_t close = line.find("*/");
    if (close != npos && close > pos) {
      pos = n;
      return {};
    }
  }
  std::string_view word = line.substr(start, end - start);
  if (insideQuotes(line, word, start)) {
    pos = n;
    return {};
  }
  return std::string(word);
}

}  // namespace quillon
