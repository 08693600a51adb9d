#include "engine/escape.h"

namespace quillon {

void stripByteOrderMark(std::string& line) {
  static constexpr std::string_view mark = "\xEF\xBB\xBF";
  size_t p = line.find(mark);
  if (p != std::string::npos) line.erase(0, p + mark.size());
}

void appendEscaped(std::string& out, std::string_view line) {
  size_t column = 0;
  for (char c : line) {
    switch (c) {
      case '\t': {
        size_t n = 4 - column % 4;
        for (size_t i = 0; i < n; ++i) out += "&nbsp;";
        column += n;
        continue;
      }
      case ' ': out += "&nbsp;"; break;
      case '<': out += "&lt"; break;
      case '>': out += "&gt"; break;
      default: out += c; break;
    }
    ++column;
  }
}

std::string escapeLine(std::string_view line) {
  std::string out;
  out.reserve(line.size() + line.size() / 2);
  appendEscaped(out, line);
  return out;
}

}  // namespace quillon
