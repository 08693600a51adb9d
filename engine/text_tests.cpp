#include "engine/text_tests.h"

#include "engine/line_index.h"

namespace quillon {

bool beginsOwnTag(std::string_view line, size_t open) {
  for (std::string_view own : {"<a ", "<font ", "</a>", "</font>"})
    if (line.compare(open, own.size(), own) == 0) return true;
  return false;
}

bool insideTag(std::string_view line, size_t p) {
  if (p == 0 || p > line.size()) return false;
  const size_t open = line.rfind('<', p - 1);
  if (open == npos) return false;
  const size_t close = line.rfind('>', p - 1);
  if (close != npos && close > open) return false;
  // Only the passes' own tags: a raw line (as the member scan reads it) may hold a "<"
  // of its own.
  return beginsOwnTag(line, open);
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
  WordScanner scanner;
  scanner.reset(line);
  return std::string(scanner.next(pos, inBlockComment));
}

}  // namespace quillon
