#pragma once
// The lines of the source tree page, and the leaf line that both tree pages share.
#include <string>
#include <vector>

namespace quillon {

struct ProjectModel;

/// One leaf line: connector images, the item's icon, and a link to `linkTarget` in the
/// source frame that reports `tabText` to the tab frame and shows `shownText`.
std::string treeLeafLine(const std::string& icon, const std::string& linkTarget,
                         const std::string& tabText, const std::string& shownText,
                         bool lastItem, bool underLastNode);

/// True for a listed resource that the workspace copies into its Images folder rather
/// than converting: every resource kind except ".rc" and ".resx".
bool isImageResource(const std::string& entry);

/// The page a workspace shows where it has nothing else to show.
inline constexpr const char* blankPageName = "Blank.htm";

/// Appends the folder block of the source tree ("Source Files", "Header Files",
/// "Resource Files", each when not empty) to the project's source tree lines. Each file
/// is shown by its name and links to its page, or for an image to Images/ and its name.
void buildFolderTree(ProjectModel& project);

/// Appends the four lines that open folder `number` named `name`.
void folderHeaderLines(std::vector<std::string>& lines, const std::string& name, int number,
                       bool lastNode);

}  // namespace quillon
