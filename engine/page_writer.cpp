#include "engine/page_writer.h"

#include <cstring>

#include "platform/platform.h"

namespace quillon {

bool PageWriter::open(const std::string& target) {
  abandon();
  target_ = target;
  temporary_ = platform::temporaryNameFor(target);
  file_ = std::fopen(temporary_.c_str(), "wb");
  failed_ = file_ == nullptr;
  ownsFile_ = true;
  // The text comes in blocks of its own: unbuffered, each block is one system call (a
  // page smaller than a block, one for the whole page), not a buffer's worth and the rest.
  if (file_) std::setvbuf(file_, nullptr, _IONBF, 0);
  return file_ != nullptr;
}

void PageWriter::openStream(std::FILE* stream) {
  abandon();
  file_ = stream;
  ownsFile_ = false;
  failed_ = false;
}

bool PageWriter::keepPermissions() {
  return file_ && ownsFile_ && platform::keepPermissions(target_, file_);
}

// The text is copied with its line ends widened into a buffer that goes to the file in
// large blocks: two calls into the C library per line would cost more than the line. A
// stretch longer than a block goes to the file directly, without the copy.
void PageWriter::write(std::string_view text) {
  if (!file_ || failed_) return;
  static constexpr size_t blockSize = 1 << 16;
  while (!text.empty()) {
    const void* lf = std::memchr(text.data(), '\n', text.size());
    size_t n = lf ? static_cast<const char*>(lf) - text.data() : text.size();
    if (n >= blockSize) {
      flush();
      if (std::fwrite(text.data(), 1, n, file_) != n) failed_ = true;
    } else {
      buffer_.append(text.data(), n);
    }
    if (lf) buffer_ += "\r\n";
    text.remove_prefix(lf ? n + 1 : n);
    if (buffer_.size() >= blockSize) flush();
  }
}

void PageWriter::flush() {
  if (file_ && !failed_ && !buffer_.empty() &&
      std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
    failed_ = true;
  buffer_.clear();
}

bool PageWriter::commit(Durability durability) {
  if (!file_) return false;
  flush();
  bool ok = !failed_;
  if (!ownsFile_) {
    ok = std::fflush(file_) == 0 && ok;
    file_ = nullptr;
    return ok;
  }
  if (ok && durability == Durability::OnDisk) ok = platform::flushToDisk(file_);
  if (std::fclose(file_) != 0) ok = false;
  file_ = nullptr;
  if (ok) ok = platform::replaceFile(temporary_, target_);
  if (!ok) platform::removeFile(temporary_);
  return ok;
}

void PageWriter::abandon() {
  buffer_.clear();
  if (!file_) return;
  if (!ownsFile_) {
    file_ = nullptr;
    return;
  }
  std::fclose(file_);
  file_ = nullptr;
  platform::removeFile(temporary_);
}

bool writeTextFile(const std::string& path, std::string_view text, Durability durability) {
  PageWriter writer;
  if (!writer.open(path)) return false;
  writer.write(text);
  return writer.commit(durability);
}

bool readWholeFile(const std::string& path, std::string* contents) {
  platform::FileStamp stamp;
  if (!platform::fileStamp(path, &stamp)) return false;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  // The size it has now is read in one piece; whatever it grew by since, after it.
  contents->resize(static_cast<size_t>(stamp.size));
  contents->resize(std::fread(contents->data(), 1, contents->size(), f));
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) contents->append(buffer, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

}  // namespace quillon
