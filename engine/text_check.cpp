#include "engine/text_check.h"

#include <cstdint>

namespace quillon {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

/// A Windows executable: "MZ", and at the offset stored at 0x3C the "PE\0\0" header.
bool isPortableExecutable(std::string_view head) {
  if (!startsWith(head, "MZ") || head.size() < 0x40) return false;
  uint32_t offset = 0;
  for (int i = 3; i >= 0; --i) offset = offset << 8 | static_cast<unsigned char>(head[0x3C + i]);
  return offset <= head.size() - 4 && head.substr(offset, 4) == std::string_view("PE\0\0", 4);
}

bool hasBinarySignature(std::string_view head) {
  static constexpr std::string_view signatures[] = {
      "\x89PNG\r\n\x1a\n",                    // PNG
      "GIF87a", "GIF89a",                     // GIF
      "\xFF\xD8\xFF",                         // JPEG
      "\x7F" "ELF",                           // ELF executables and libraries
      std::string_view("PK\x03\x04", 4),      // ZIP (and the formats built on it)
      std::string_view("PK\x05\x06", 4),      // empty ZIP
  };
  for (std::string_view s : signatures)
    if (startsWith(head, s)) return true;
  return isPortableExecutable(head);
}

bool isTextControl(unsigned char c) {
  return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A || c == 0x1B;
}

}  // namespace

bool looksLikeText(std::string_view head) {
  head = head.substr(0, textCheckSize);
  if (startsWith(head, "\xFF\xFE") || startsWith(head, "\xFE\xFF")) return true;  // UTF-16
  if (hasBinarySignature(head)) return false;
  size_t controls = 0;
  for (char c : head) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 && !isTextControl(b)) ++controls;
  }
  // A few stray control bytes in a short file are still text.
  return controls < 4 || controls * 10 <= head.size();
}

}  // namespace quillon
