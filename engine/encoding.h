#pragma once
// Which character encoding a source is written in, as far as its page needs to know. The
// passes work on bytes whatever the encoding: every byte from 0x80 up is a separator for
// the word tests, so a multi-byte UTF-8 character is never split by markup and never part
// of a word. Only UTF-16 is turned into UTF-8 before the lines are read.
#include <string>
#include <string_view>

namespace quillon {

enum class ByteOrderMark { None, Utf8, Utf16LE, Utf16BE };

/// The byte-order mark that `start` (the first bytes of a file) begins with.
ByteOrderMark byteOrderMarkOf(std::string_view start);

/// UTF-16 bytes (in the given byte order) as UTF-8. A byte-order mark becomes the UTF-8
/// mark; surrogate pairs are joined; an unpaired surrogate and an odd last byte each
/// become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);

/// Checks text for well-formed UTF-8 piece by piece, so that a file can be checked while
/// it streams past (a sequence may be split between two pieces).
class Utf8Check {
 public:
  void add(std::string_view bytes);
  /// True when everything added is well-formed UTF-8 (no overlong form, no surrogate,
  /// nothing above U+10FFFF, no sequence cut off at the end) and holds at least one
  /// multi-byte sequence.
  bool isUtf8() const { return !bad_ && pending_ == 0 && multiByte_; }
  /// True once a byte has broken the form: nothing added later can mend it.
  bool broken() const { return bad_; }

 private:
  bool bad_ = false;
  bool multiByte_ = false;
  int pending_ = 0;  ///< continuation bytes still expected
  // The bounds of the next continuation byte: narrower right after some lead bytes.
  unsigned char low_ = 0x80;
  unsigned char high_ = 0xBF;
};

/// True when a page of `text` is declared UTF-8: it begins with a UTF-8 or UTF-16
/// byte-order mark, or it is well-formed UTF-8 with a multi-byte sequence.
bool isUtf8Text(std::string_view text);

/// The same for the file at `path`, read once from start to end in pieces. False when
/// the file cannot be read.
bool isUtf8File(const std::string& path);

/// The charset a page declares: "utf-8" or "windows-1252".
inline std::string_view pageCharset(bool utf8) { return utf8 ? "utf-8" : "windows-1252"; }

}  // namespace quillon
