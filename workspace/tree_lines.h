#pragma once
// The lines of the source tree page, and the leaf line that both tree pages share.
#include <string>
#include <vector>

namespace quillon {

struct ProjectModel;
struct ListedName;

/// One leaf line: connector images, the item's icon, and a link to `linkTarget` in the
/// source frame that reports `tabText` to the tab frame and shows `shownText`.
std::string treeLeafLine(const std::string& icon, const std::string& linkTarget,
                         const std::string& tabText, const std::string& shownText,
                         bool lastItem, bool underLastNode);

/// The same at any depth: `prefix` holds one connector image per level above the item.
std::string leafLine(const std::string& prefix, const std::string& icon,
                     const std::string& linkTarget, const std::string& tabText,
                     const std::string& shownText, bool lastItem);

/// A connector image of a tree line ("I.gif", "white.gif", ...).
std::string connectorImage(const char* image);

/// True for a listed resource that the workspace copies into its Images folder rather
/// than converting: every resource kind except ".rc" and ".resx".
bool isImageResource(const std::string& entry);

/// Where the tree item of the listed file `entry` leads: its page, or for an image its copy
/// in the workspace's Images folder, or the blank page for an image that cannot be found.
std::string fileItemLink(const std::string& entry, const ListedName& named);

/// The page a workspace shows where it has nothing else to show.
inline constexpr const char* blankPageName = "Blank.htm";

/// Appends the folder block of the source tree ("Source Files", "Header Files",
/// "Resource Files", each when not empty) to the project's source tree lines. Each file
/// is shown by its name and links to its page, or for an image to Images/ and its name.
void buildFolderTree(ProjectModel& project);

/// Appends the four lines that open folder `number` named `name`.
void folderHeaderLines(std::vector<std::string>& lines, const std::string& name, int number,
                       bool lastNode);

/// A folder node as its lines show it, each text ready for its place in the markup.
struct FolderNode {
  std::string fragment;  ///< the href fragment that leads to the node
  std::string anchor;    ///< its name attribute
  std::string shown;     ///< the text shown
  std::string prefix;    ///< one connector image per level above the node
};

/// The same four lines for a folder at any depth.
void folderNodeLines(std::vector<std::string>& lines, const FolderNode& node, int number,
                     bool lastNode);

/// Appends the source tree of a folder read from disk: `files` (paths relative to it, in
/// tree order) nested in their folders, each folder's folders before its files.
void buildNestedFolderTree(ProjectModel& project, const std::vector<std::string>& files);

}  // namespace quillon
