#include "engine/line_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/encoding.h"
#include "engine/text_check.h"
#include "platform/platform.h"

namespace quillon {

namespace {
constexpr size_t chunkSize = 1 << 16;
/// A line this long is handed over rather than copied.
constexpr size_t hugeLine = size_t{1} << 24;
}

bool LineReader::open(const std::string& path) {
  close();
  platform::FileStamp stamp;
  if (!platform::fileStamp(path, &stamp)) return false;
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) return false;
  // Read in chunks of its own straight into the buffer; the stream's buffer would only
  // cost a copy and a query of the file's block size. A small file is read whole at
  // once, into no more room than it needs (the room is cleared before it is read into).
  std::setvbuf(file_, nullptr, _IONBF, 0);
  fill(static_cast<size_t>(std::min<std::uint64_t>(stamp.size + 1, chunkSize)));
  startsAsText_ = looksLikeText(buffer_);
  const ByteOrderMark mark = byteOrderMarkOf(buffer_);
  if (mark == ByteOrderMark::Utf16LE || mark == ByteOrderMark::Utf16BE) {
    // UTF-16 is read as UTF-8: the whole file is turned over in memory at once. A buffer
    // of the file's size keeps both copies within two and a half times the file.
    const long at = std::ftell(file_);
    if (!eof_ && at >= 0 && std::fseek(file_, 0, SEEK_END) == 0) {
      const long size = std::ftell(file_);
      if (size > 0) buffer_.reserve(static_cast<size_t>(size) + chunkSize);
      if (std::fseek(file_, at, SEEK_SET) != 0) error_ = true;
    }
    while (fill(chunkSize)) {
    }
    if (!error_) openText(utf16ToUtf8(buffer_, mark == ByteOrderMark::Utf16BE));
  }
  return true;
}

void LineReader::openText(std::string text) {
  close();
  buffer_ = std::move(text);
  fromText_ = true;
  eof_ = true;
}

void LineReader::openBytes(std::string bytes) {
  const bool text = looksLikeText(std::string_view(bytes).substr(0, chunkSize));
  const ByteOrderMark mark = byteOrderMarkOf(bytes);
  if (mark == ByteOrderMark::Utf16LE || mark == ByteOrderMark::Utf16BE)
    openText(utf16ToUtf8(bytes, mark == ByteOrderMark::Utf16BE));
  else
    openText(std::move(bytes));
  startsAsText_ = text;
}

void LineReader::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  fromText_ = false;
  eof_ = false;
  error_ = false;
  startsAsText_ = true;
  buffer_.clear();
  pos_ = 0;
  lineNumber_ = 0;
  kept_ = nullptr;
}

bool LineReader::fill(size_t want) {
  if (eof_ || !file_) return false;
  if (pos_ > 0) {
    buffer_.erase(0, pos_);
    pos_ = 0;
  }
  size_t old = buffer_.size();
  buffer_.resize(old + want);
  size_t n = std::fread(&buffer_[old], 1, want, file_);
  buffer_.resize(old + n);
  if (kept_) kept_->append(buffer_, old, n);
  if (n < want) {
    eof_ = true;
    if (std::ferror(file_)) error_ = true;
  }
  return n > 0;
}

bool LineReader::isUtf8() {
  if (error_) return false;
  // A small file (and UTF-16, turned over whole) is in the buffer already.
  if (eof_ || !file_) return isUtf8Text(std::string_view(buffer_).substr(pos_));
  // A mark or a broken sequence settles the answer; a clean file is read to its end.
  const bool marked = byteOrderMarkOf(buffer_) != ByteOrderMark::None;
  Utf8Check check;
  check.add(std::string_view(buffer_).substr(pos_));
  std::fpos_t at;
  if (std::fgetpos(file_, &at) != 0) {
    error_ = true;
    return false;
  }
  std::string piece(chunkSize, '\0');
  size_t n;
  while (!marked && !check.broken() && (n = std::fread(&piece[0], 1, chunkSize, file_)) > 0)
    check.add(std::string_view(piece.data(), n));
  if (std::ferror(file_) || std::fsetpos(file_, &at) != 0) {
    error_ = true;
    return false;
  }
  return marked || check.isUtf8();
}

bool LineReader::readLine(std::string& line) {
  if (!isOpen() || error_) return false;
  size_t searchFrom = pos_;
  for (;;) {
    const char* start = buffer_.data() + searchFrom;
    const void* lf = std::memchr(start, '\n', buffer_.size() - searchFrom);
    if (lf) {
      size_t end = static_cast<const char*>(lf) - buffer_.data();
      size_t stop = (end > pos_ && buffer_[end - 1] == '\r') ? end - 1 : end;
      if (pos_ == 0 && stop >= hugeLine) {
        // A line of many megabytes fills the buffer: it becomes the line, not a copy.
        std::string rest = buffer_.substr(end + 1);
        buffer_.resize(stop);
        line.swap(buffer_);
        buffer_ = std::move(rest);
        pos_ = 0;
        ++lineNumber_;
        return true;
      }
      line.assign(buffer_, pos_, stop - pos_);
      pos_ = end + 1;
      ++lineNumber_;
      return true;
    }
    size_t scanned = buffer_.size() - pos_;
    if (!fill(chunkSize)) break;
    searchFrom = pos_ + scanned;
  }
  if (error_ || pos_ >= buffer_.size()) return false;
  if (pos_ == 0 && buffer_.size() >= hugeLine) {
    line.swap(buffer_);
    buffer_.clear();
    ++lineNumber_;
    return true;
  }
  line.assign(buffer_, pos_, std::string::npos);
  pos_ = buffer_.size();
  ++lineNumber_;
  return true;
}

bool LineReader::readLine(std::string_view& line) {
  if (!isOpen() || error_) return false;
  size_t searchFrom = pos_;
  for (;;) {
    const char* start = buffer_.data() + searchFrom;
    const void* lf = std::memchr(start, '\n', buffer_.size() - searchFrom);
    if (lf) {
      const size_t end = static_cast<const char*>(lf) - buffer_.data();
      const size_t stop = (end > pos_ && buffer_[end - 1] == '\r') ? end - 1 : end;
      line = std::string_view(buffer_.data() + pos_, stop - pos_);
      pos_ = end + 1;
      ++lineNumber_;
      return true;
    }
    const size_t scanned = buffer_.size() - pos_;
    if (!fill(chunkSize)) break;
    searchFrom = pos_ + scanned;
  }
  if (error_ || pos_ >= buffer_.size()) return false;
  line = std::string_view(buffer_.data() + pos_, buffer_.size() - pos_);
  pos_ = buffer_.size();
  ++lineNumber_;
  return true;
}

void LineReader::keepText(std::string* kept) {
  kept_ = kept;
  if (kept_) kept_->append(buffer_, pos_, std::string::npos);
}

}  // namespace quillon
