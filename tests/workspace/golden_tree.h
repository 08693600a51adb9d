#pragma once
// Whole directories compared with a golden copy under tests/golden/<case>/.
#include <string>

namespace testing_support {

/// Compares every regular file under `directory` (symbolic links are skipped) with
/// tests/golden/`goldenCase`, names and bytes. Returns the differences, one per line;
/// empty when equal. With QUILLON_UPDATE_GOLDENS=1 the golden copy is replaced instead.
std::string compareWithGoldenTree(const std::string& goldenCase, const std::string& directory);

/// Compares the regular files under two directories, names and bytes, leaving out files
/// named `ignored`. Returns the differences, one per line; empty when equal.
std::string compareTrees(const std::string& expected, const std::string& actual,
                         const std::string& ignored = {});

}  // namespace testing_support
