#pragma once
// The lines of the source tree page, and the leaf line that both tree pages share.
#include <memory>
#include <string>
#include <unordered_map>
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

/// One folder of the folder block: its name, its number, its files.
struct FolderBlock {
  const char* name;
  int number;
  const std::vector<std::string>* files;
  bool lastNode;
};

/// The folders of the block in tree order, those without files left out.
std::vector<FolderBlock> folderBlocks(const ProjectModel& project);

/// Appends the lines of the files of a folder of the block (what its child division holds).
void folderBlockFileLines(const ProjectModel& project, const FolderBlock& block,
                          std::vector<std::string>& lines);

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

/// The same four lines for a folder at any depth. With `childSource` the child division
/// is empty and names the script that holds its lines ("trees/s3.js", see tree_scripts.h).
void folderNodeLines(std::vector<std::string>& lines, const FolderNode& node, int number,
                     bool lastNode, const std::string& childSource = "");

/// The same for a node of any id ("Folder3", "Letter2").
void treeNodeLines(std::vector<std::string>& lines, const FolderNode& node, const std::string& id,
                   bool lastNode, const std::string& childSource = "");

/// The child division's opening line of the node `id`, naming its script when there is one.
std::string childDivisionLine(const std::string& id, const std::string& childSource);

/// Appends the source tree of a folder read from disk: `files` (paths relative to it, in
/// tree order) nested in their folders, each folder's folders before its files.
void buildNestedFolderTree(ProjectModel& project, const std::vector<std::string>& files);

/// A folder of the tree read from disk, with its folders and files in tree order.
struct DiskFolder {
  std::string path;  ///< relative to the workspace's folder, "\\" between names
  int number = 0;    ///< its node's number ("Folder<number>"), counted in tree order from 1
  std::vector<std::unique_ptr<DiskFolder>> folders;
  std::unordered_map<std::string, DiskFolder*> byName;
  std::vector<const std::string*> files;

  DiskFolder& folder(const std::string& name);
};

/// The folders of `files` (which must outlive the tree) under `root`, numbered. Returns
/// how many there are.
int fillDiskFolders(DiskFolder& root, const std::vector<std::string>& files);

/// Where the contents of the folder numbered n are, for a tree whose folders load their
/// contents on demand: the script `scripts[n - 1]`.
using FolderScripts = std::vector<std::string>;

/// Appends the lines of a folder's contents at the depth that `prefix` draws: each of its
/// folders' nodes (with their contents, or with `scripts` only where those are), then its
/// files.
void diskFolderLines(const ProjectModel& project, std::vector<std::string>& lines,
                     const DiskFolder& folder, const std::string& prefix,
                     const FolderScripts* scripts = nullptr);

}  // namespace quillon
