#include "engine/text_tests.h"

#include "engine/line_index.h"

namespace quillon {

bool insideQuotes(std::string_view line, std::string_view part, size_t p) {
  if (p == npos) {
    p = line.find(part);
    if (p == npos) return false;
  }
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
