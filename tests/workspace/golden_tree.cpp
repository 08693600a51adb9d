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

/// Keeps a copy of the workspaces for the link check, with the program's images that the
/// scratch data folder left out and the "images" alias, as a run with the whole data
/// folder makes them.
void keepForLinkCheck(const fs::path& keep, const std::map<std::string, std::string>& files) {
  replaceGolden(keep, files);
  const fs::path images = fs::path(QUILLON_SOURCE_DIR) / "data" / "Images";
  for (const auto& workspace : fs::directory_iterator(keep)) {
    if (!fs::is_directory(workspace.path() / "Images")) continue;
    std::error_code alias;  // the tree lines' spelling, as a run makes it
    fs::create_directory_symlink("Images", workspace.path() / "images", alias);
    for (const auto& image : fs::directory_iterator(images))
      fs::copy_file(image.path(), workspace.path() / "Images" / image.path().filename(),
                    fs::copy_options::skip_existing);
  }
}

}  // namespace

std::string compareTrees(const std::string& expectedDirectory, const std::string& actualDirectory,
                         const std::string& ignored) {
  std::map<std::string, std::string> expected = filesBelow(expectedDirectory),
                                     actual = filesBelow(actualDirectory);
  auto named = [&](const std::string& name) {
    return !ignored.empty() && fs::path(name).filename() == ignored;
  };
  std::string differences;
  for (const auto& [name, bytes] : expected) {
    if (named(name)) continue;
    auto it = actual.find(name);
    if (it == actual.end()) differences += "missing: " + name + "\n";
    else if (it->second != bytes) differences += "differs: " + name + "\n";
  }
  for (const auto& [name, bytes] : actual)
    if (!expected.count(name) && !named(name)) differences += "unexpected: " + name + "\n";
  return differences;
}

std::string compareWithGoldenTree(const std::string& goldenCase, const std::string& directory) {
  const fs::path golden = fs::path(QUILLON_SOURCE_DIR) / "tests" / "golden" / goldenCase;
  const std::map<std::string, std::string> actual = filesBelow(directory);
  if (const char* keep = std::getenv("QUILLON_LINK_CHECK_DIR"))
    keepForLinkCheck(fs::path(keep) / goldenCase, actual);
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
