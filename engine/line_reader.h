#pragma once
// The one place where line ends are read: a line ends at LF, and a CR right before that
// LF belongs to the line end. Every other byte (a lone CR, NUL, bytes above 0x7F) is text.
#include <cstdio>
#include <string>
#include <string_view>

namespace quillon {

class LineReader {
 public:
  LineReader() = default;
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;
  ~LineReader() { close(); }

  /// Opens a regular file for reading. False when it cannot be opened or is no file. A
  /// file that begins with a UTF-16 byte-order mark is read as UTF-8, its mark included.
  bool open(const std::string& path);
  /// Reads from `text` instead of a file.
  void openText(std::string text);
  /// Reads from `bytes`, the whole content of a source that is no file (standard input),
  /// as `open` reads a file of that content: its text test and UTF-16 included.
  void openBytes(std::string bytes);
  void close();
  bool isOpen() const { return file_ != nullptr || fromText_; }

  /// Whether the file as opened looks like text rather than a picture or a program (the
  /// test of `looksLikeText` on its first bytes, before any UTF-16 is turned over).
  bool startsAsText() const { return startsAsText_; }
  /// Whether a page of the whole input is declared UTF-8 (`isUtf8Text`). Call it before
  /// the first `readLine`: it reads ahead to the end when it must and then returns to where
  /// it was, so one open serves both this test and the lines. False after a read error.
  bool isUtf8();

  /// The next line without its line end. False at the end of the input (a last line
  /// without a line end is still returned) or after a read error.
  bool readLine(std::string& line);
  /// The same, as a view into the reader's buffer that stays good until the next read.
  bool readLine(std::string_view& line);

  /// From now on appends to `kept` every byte that the lines are read from (the input as
  /// the lines see it: UTF-16 turned over), beginning with those in the buffer now; null:
  /// no longer. `close` stops it.
  void keepText(std::string* kept);
  /// Whether the text kept is the whole input: it was read to its end without an error.
  bool keptWhole() const { return kept_ && !error_ && (fromText_ || eof_); }

  /// True when reading stopped because of an error rather than the end of the input.
  bool failed() const { return error_; }

  /// How many lines `readLine` has returned since the input was opened: the number of the
  /// line read last, from 1 (a page numbers its lines the same way).
  size_t lineNumber() const { return lineNumber_; }

 private:
  /// Reads up to `want` more bytes into the buffer; false at the end of the file.
  bool fill(size_t want);

  std::FILE* file_ = nullptr;
  bool fromText_ = false;
  bool eof_ = false;
  bool error_ = false;
  bool startsAsText_ = true;
  std::string buffer_;
  size_t pos_ = 0;
  size_t lineNumber_ = 0;
  std::string* kept_ = nullptr;
};

}  // namespace quillon
