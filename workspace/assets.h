#pragma once
// The program's images that every workspace carries in its own Images folder: the tree
// connectors and icons of the generated tree lines, and the pictures of the templates and
// tab pages.
#include <array>
#include <string>
#include <unordered_set>

namespace quillon {

/// The images copied into every workspace, in copy order, names as stored.
extern const std::array<const char*, 27> workspaceImageNames;

/// Creates the Images folder of the workspace `targetDirectory` (an existing one is kept),
/// makes "images" reach it too (the tree lines use that spelling), and copies every image
/// of `sourceDirectory`'s Images folder into it, replacing an earlier run's copies. Missing
/// images are left out; nothing is reported or counted.
void copyWorkspaceImages(const std::string& sourceDirectory, const std::string& targetDirectory);

/// Removes the files of `folder` (a folder of data files the run writes whole, such as
/// "xref") that are not in `written`: an earlier run's files, which a fresh run would not
/// have. Its subfolders are left alone.
void removeOtherFiles(const std::string& folder, const std::unordered_set<std::string>& written);

/// Copies one image, replacing the workspace's copy of that name.
void copyWorkspaceImage(const std::string& sourceDirectory, const std::string& targetDirectory,
                        const std::string& name);

}  // namespace quillon
