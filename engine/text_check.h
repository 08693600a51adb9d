#pragma once
// Telling a text file from a binary one (an image, an executable, an archive) that carries
// a source file's name, so that its bytes are not made into a page.
#include <cstddef>
#include <string_view>

namespace quillon {

/// How much of the start of a file the check reads.
inline constexpr size_t textCheckSize = 8192;

/// False when `head` (the first bytes of a file, at most `textCheckSize`) begins with the
/// signature of a picture (PNG, GIF, JPEG), an executable (ELF, Windows PE) or a ZIP
/// archive, or when more than one byte in ten is a control character that text does not
/// use (NUL among them; tab, line ends, form feed, Ctrl-Z and escape are text). A file
/// that begins with a UTF-16 byte-order mark is text. A stray NUL keeps a file text.
bool looksLikeText(std::string_view head);

}  // namespace quillon
