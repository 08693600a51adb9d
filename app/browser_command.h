#pragma once
// The fallback for opening a page in the browser when the shell cannot: the command line
// of the program registered for web pages, with the target in place of its placeholder.
#include <string>
#include <string_view>

namespace quillon {

/// The registered command line `registered` cut at the first "%1" in double quotes, else
/// at the first "%1", else kept whole; then a blank and `target` (not quoted).
std::string browserCommandLine(std::string_view registered, std::string_view target);

}  // namespace quillon
