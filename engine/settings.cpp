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

void addProgressLine(RunState& run, std::string_view line) {
  platform::addListLine(run.outputWindow, line);
}

void addProblem(RunState& run, std::string_view line) {
  ++run.problemCount;
  platform::addProblemLine(run.outputWindow, line);
}

}  // namespace quillon
