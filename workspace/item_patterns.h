#pragma once
// The file patterns of MSBuild items ("*.cs", "Models\**", "..\Shared\**\*.cs") and the
// folder walks that find the files they stand for. Paths in and out are relative, with
// "\" between folders whatever the system, so that lists and trees look the same
// everywhere; "/" is accepted as well on input.
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

/// True when `value` holds "*" or "?".
bool hasWildcard(std::string_view value);

/// Whether `path` matches `pattern`, name by name: "*" stands for any run of characters
/// within a name, "?" for one character, a name "**" for any number of folders (none
/// included). Names compare without regard to ASCII letter case; "." names are ignored.
bool matchesItemPattern(std::string_view pattern, std::string_view path);

/// The same path written the one way: "\" between names, "." names dropped, ASCII
/// letters in lower case. Two paths naming the same item have the same key.
std::string itemKey(std::string_view path);

/// The folders and files that the walks for one project may still take in: far more than
/// a project holds, few enough that a folder linking to itself, or a project asking for
/// the same walk again and again, cannot keep a run going.
struct WalkBudget {
  size_t folders = 20000;
  size_t files = 200000;
};

/// The files found below a folder.
struct FolderWalk {
  std::vector<std::string> files;  ///< relative paths, "\" between folders, sorted bytewise
  bool cutShort = false;           ///< the walk met the budget or its own depth limit
};

/// Every file below `root` down to `depth` levels of folders (0: the files directly in
/// it), taken out of `budget`. Folders named bin or obj (in any letter case) and folders
/// whose name begins with "." are not entered.
FolderWalk walkFolder(const std::string& root, int depth, WalkBudget& budget);

/// The files that an Include pattern with wildcards stands for, read below
/// `projectDirectory`: each written with the pattern's own leading folders ("..\Shared\"
/// stays) followed by the rest of its path, in bytewise order. `cutShort` is set when the
/// walk was cut short.
std::vector<std::string> expandItemPattern(const std::string& projectDirectory,
                                           std::string_view pattern, WalkBudget& budget,
                                           bool* cutShort);

}  // namespace quillon
