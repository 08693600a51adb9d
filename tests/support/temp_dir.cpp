#include "tests/support/temp_dir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace testing_support {

TempDir::TempDir() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  fs::path base = fs::temp_directory_path();
  for (;;) {
    fs::path candidate = base / ("quillon-test-" + std::to_string(random() % 1000000000));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = candidate.string();
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::file(std::string_view name) const {
  return (fs::path(path_) / fs::path(std::string(name))).string();
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const {
  std::string p = file(name);
  fs::create_directories(fs::path(p).parent_path());
  std::ofstream out(p, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return p;
}

std::string TempDir::read(std::string_view name) const { return readFile(file(name)); }

std::string TempDir::mkdir(std::string_view name) const {
  std::string p = file(name);
  fs::create_directories(p);
  return p;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string golden(const std::string& name, const std::string& actual) {
  fs::path p = fs::path(QUILLON_SOURCE_DIR) / "tests" / "golden" / name;
  const char* update = std::getenv("QUILLON_UPDATE_GOLDENS");
  if (update && std::string(update) == "1") {
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(actual.data(), static_cast<std::streamsize>(actual.size()));
    return actual;
  }
  return readFile(p.string());
}

std::string crlf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace testing_support
