#include "engine/settings.h"

#include <cstdio>

namespace quillon {

std::string htmlColor(ColorRef color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(color & 0xFF),
                static_cast<unsigned>((color >> 8) & 0xFF),
                static_cast<unsigned>((color >> 16) & 0xFF));
  return text;
}

namespace {

/// `line` as one line of the list: a control byte of a file name (a line break would
/// split the line) is written as "\x0a".
std::string oneLine(std::string_view line) {
  std::string out;
  for (char c : line) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b != 0x7F) {
      out += c;
      continue;
    }
    char escape[5];
    std::snprintf(escape, sizeof escape, "\\x%02x", b);
    out += escape;
  }
  return out;
}

}  // namespace

void addProgressLine(RunState& run, std::string_view line) {
  platform::addListLine(run.outputWindow, oneLine(line));
}

void addProblem(RunState& run, std::string_view line) {
  ++run.problemCount;
  platform::addProblemLine(run.outputWindow, oneLine(line));
}

}  // namespace quillon
