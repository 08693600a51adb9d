#include "engine/encoding.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace quillon {

namespace {

void appendUtf8(std::string& out, unsigned long c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

constexpr unsigned long replacementCharacter = 0xFFFD;

bool isHighSurrogate(unsigned long u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(unsigned long u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

ByteOrderMark byteOrderMarkOf(std::string_view start) {
  if (start.substr(0, 3) == "\xEF\xBB\xBF") return ByteOrderMark::Utf8;
  if (start.substr(0, 2) == "\xFF\xFE") return ByteOrderMark::Utf16LE;
  if (start.substr(0, 2) == "\xFE\xFF") return ByteOrderMark::Utf16BE;
  return ByteOrderMark::None;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  const size_t units = bytes.size() / 2;
  auto unit = [&](size_t i) -> unsigned long {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
  };
  for (size_t i = 0; i < units; ++i) {
    const unsigned long u = unit(i);
    if (isHighSurrogate(u) && i + 1 < units && isLowSurrogate(unit(i + 1))) {
      appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else if (isHighSurrogate(u) || isLowSurrogate(u)) {
      appendUtf8(out, replacementCharacter);
    } else {
      appendUtf8(out, u);
    }
  }
  if (bytes.size() % 2 != 0) appendUtf8(out, replacementCharacter);
  return out;
}

void Utf8Check::add(std::string_view bytes) {
  const char* const data = bytes.data();
  const size_t n = bytes.size();
  for (size_t i = 0; i < n; ++i) {
    if (bad_) return;
    // Runs of ASCII, the bulk of any source, are passed eight bytes at a time.
    if (pending_ == 0) {
      uint64_t word;
      while (i + 8 <= n && (std::memcpy(&word, data + i, 8), (word & 0x8080808080808080u) == 0))
        i += 8;
      if (i == n) return;
    }
    const auto b = static_cast<unsigned char>(data[i]);
    if (pending_ > 0) {
      bad_ = b < low_ || b > high_;
      low_ = 0x80;
      high_ = 0xBF;
      if (--pending_ == 0) multiByte_ = true;
      continue;
    }
    if (b < 0x80) continue;
    // The lead bytes and the narrowed first continuation bytes rule out overlong forms,
    // the surrogates (ED A0..BF) and everything above U+10FFFF (F4 90 and up).
    if (b >= 0xC2 && b <= 0xDF) {
      pending_ = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      pending_ = 2;
      if (b == 0xE0) low_ = 0xA0;
      if (b == 0xED) high_ = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      pending_ = 3;
      if (b == 0xF0) low_ = 0x90;
      if (b == 0xF4) high_ = 0x8F;
    } else {
      bad_ = true;
    }
  }
}

bool isUtf8Text(std::string_view text) {
  if (byteOrderMarkOf(text) != ByteOrderMark::None) return true;
  Utf8Check check;
  check.add(text);
  return check.isUtf8();
}

bool isUtf8File(const std::string& path) {
  if (!platform::fileExists(path)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  Utf8Check check;
  bool first = true;
  bool marked = false;
  char buffer[1 << 16];
  size_t n;
  // A mark or a broken sequence settles the answer; a clean file is read to its end.
  while (!marked && !check.broken() && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    const std::string_view piece(buffer, n);
    if (first) marked = byteOrderMarkOf(piece) != ByteOrderMark::None;
    first = false;
    check.add(piece);
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return !failed && (marked || check.isUtf8());
}

}  // namespace quillon
