#pragma once
// The include-link pass: a quoted #include name links to the page of that file.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

struct SourceFileConverter;

/// The pages of a workspace, for finding the page of an included file as the compiler
/// finds the file. Keys are `pathKey`s of the listed paths, as listed (relative to
/// `sourceDirectory`, or full).
struct WorkspacePages {
  struct Page {
    std::string folderKey;  ///< the `pathKey` of the file's folder
    std::string name;       ///< the file's own name as written
    std::string page;
  };
  std::string sourceDirectory;                          ///< what listed paths are relative to
  std::unordered_map<std::string, std::string> byPath;  ///< path key -> page
  std::unordered_map<std::string, std::string> byExactPath;  ///< path key with its case -> page
  std::unordered_map<std::string, std::vector<Page>> byName;  ///< lower-case name -> pages

  /// Adds the listed file `path` (relative to `sourceDirectory`, or full) and its page.
  void add(const std::string& path, const std::string& page);
};

/// The page that an include of `name` (as written between the quotes) from the listed
/// file `includingPath` leads to: the file relative to the including file's folder when
/// the workspace has it (spelt as written before spelt otherwise); else, when no file lies
/// there, the listed file of that name, ignoring letter case, nearest to the including
/// file along the folder tree (spelt as written before spelt otherwise, then the first
/// listed of equally near ones). Empty when the included file has no page.
std::string includedPage(const WorkspacePages& pages, std::string_view includingPath,
                         std::string_view name);

/// Links the quoted name of a "#include" line to the included file's page. In a workspace
/// the page is found by `includedPage` and a name without a page is left unlinked; a page
/// converted on its own links the name without its folder, plus ".htm", beside itself.
/// Names in angle brackets are not linked.
void linkInclude(const SourceFileConverter& converter, std::string& line);

}  // namespace quillon
