#pragma once
// A scratch directory for one test, removed with its contents afterwards.
#include <string>
#include <string_view>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  /// `name` inside the directory (with this system's separator).
  std::string file(std::string_view name) const;
  /// Writes `bytes` to `name` (exact bytes, no line-end translation); returns its path.
  std::string write(std::string_view name, std::string_view bytes) const;
  /// The bytes of `name`; empty when it cannot be read.
  std::string read(std::string_view name) const;
  /// Makes a subdirectory; returns its path.
  std::string mkdir(std::string_view name) const;

 private:
  std::string path_;
};

/// The bytes of a file; empty when it cannot be read.
std::string readFile(const std::string& path);

/// Reads a golden file from tests/golden/. With QUILLON_UPDATE_GOLDENS=1 in the
/// environment, writes `actual` there instead and returns it.
std::string golden(const std::string& name, const std::string& actual);

/// LF line ends as CR LF, for writing expected page text readably.
std::string crlf(std::string_view text);

}  // namespace testing_support
