#include "app/browser_command.h"

namespace quillon {

std::string browserCommandLine(std::string_view registered, std::string_view target) {
  size_t cut = registered.find("\"%1\"");
  if (cut == std::string_view::npos) cut = registered.find("%1");
  std::string line(registered.substr(0, cut));
  line += ' ';
  line += target;
  return line;
}

}  // namespace quillon
