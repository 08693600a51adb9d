#pragma once
// The one place where line ends are written: every LF goes out as CR LF, on every system.
// A page is written to a temporary file beside its target and renamed into place when it
// is complete, so a failed or interrupted write leaves the previous page intact.
#include <cstdio>
#include <string>
#include <string_view>

namespace quillon {

/// How far a completed file is pushed before it replaces the old one: into the system's
/// caches (pages, which can be made again), or onto the disk (the user's own data, which
/// must survive a crash right after the save).
enum class Durability { Cached, OnDisk };

class PageWriter {
 public:
  PageWriter() = default;
  PageWriter(const PageWriter&) = delete;
  PageWriter& operator=(const PageWriter&) = delete;
  ~PageWriter() { abandon(); }

  /// Starts a new version of `target`. False when it cannot be created.
  bool open(const std::string& target);
  /// Writes straight into `stream` (standard output) instead: there is no temporary file,
  /// `commit` flushes the stream, and what was written cannot be taken back.
  void openStream(std::FILE* stream);
  /// Gives the new version the permissions of the file now at the target, before anything
  /// is written. False when that file may not be written (platform::keepPermissions).
  bool keepPermissions();
  bool isOpen() const { return file_ != nullptr; }
  /// Writes `text`, each LF as CR LF. Errors are remembered for `commit`.
  void write(std::string_view text);
  /// Completes the file and puts it in place. False when anything failed; the previous
  /// file at the target is then untouched.
  bool commit(Durability durability = Durability::Cached);
  /// Drops what was written.
  void abandon();

 private:
  void flush();

  std::FILE* file_ = nullptr;
  bool ownsFile_ = true;  ///< false for a stream opened by someone else
  std::string buffer_;  ///< written text not yet handed to the file
  std::string target_;
  std::string temporary_;
  bool failed_ = false;
};

/// Writes a whole text file (LF written as CR LF) through a PageWriter.
bool writeTextFile(const std::string& path, std::string_view text,
                   Durability durability = Durability::Cached);

/// Reads a whole file. False when it cannot be read.
bool readWholeFile(const std::string& path, std::string* contents);

}  // namespace quillon
