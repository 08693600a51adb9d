#include "engine/settings.h"

#include <cstdio>

namespace quillon {

std::string htmlColor(ColorRef color) {
  // Spelled out by hand: each page's markup is made of these, and a formatted print
  // costs a hundred times as much.
  static constexpr char hex[] = "0123456789abcdef";
  std::string text(7, '#');
  for (int byte = 0; byte < 3; ++byte) {
    const unsigned value = (color >> (8 * byte)) & 0xFF;
    text[1 + 2 * byte] = hex[value >> 4];
    text[2 + 2 * byte] = hex[value & 0xF];
  }
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
