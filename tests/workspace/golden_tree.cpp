#include "tests/workspace/golden_tree.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace testing_support {

namespace {

/// Every regular file below `root` by its relative name ("/" between folders).
std::map<std::string, std::string> filesBelow(const fs::path& root) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  if (!fs::is_directory(root, ec)) return files;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    if (it->is_symlink()) {
      it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file()) continue;
    files[fs::relative(it->path(), root).generic_string()] = readFile(it->path().string());
  }
  return files;
}

void replaceGolden(const fs::path& golden, const std::map<std::string, std::string>& files) {
  fs::remove_all(golden);
  for (const auto& [name, bytes] : files) {
    fs::path target = golden / fs::path(name);
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
}

}  // namespace

std::string compareWithGoldenTree(const std::string& goldenCase, const std::string& directory) {
  const fs::path golden = fs::path(QUILLON_SOURCE_DIR) / "tests" / "golden" / goldenCase;
  const std::map<std::string, std::string> actual = filesBelow(directory);
  const char* update = std::getenv("QUILLON_UPDATE_GOLDENS");
  if (update && std::string(update) == "1") {
    replaceGolden(golden, actual);
    return {};
  }
  const std::map<std::string, std::string> expected = filesBelow(golden);
  std::string differences;
  for (const auto& [name, bytes] : expected) {
    auto it = actual.find(name);
    if (it == actual.end()) differences += "missing: " + name + "\n";
    else if (it->second != bytes) differences += "differs: " + name + "\n";
  }
  for (const auto& [name, bytes] : actual)
    if (!expected.count(name)) differences += "unexpected: " + name + "\n";
  return differences;
}

}  // namespace testing_support
