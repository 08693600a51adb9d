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

/// Appends the folder block of the source tree ("Source Files", "Header Files",
/// "Resource Files", each when not empty) to the project's source tree lines.
void buildFolderTree(ProjectModel& project);

/// Appends the four lines that open folder `number` named `name`.
void folderHeaderLines(std::vector<std::string>& lines, const std::string& name, int number,
                       bool lastNode);

}  // namespace quillon
