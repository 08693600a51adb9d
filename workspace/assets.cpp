#include "workspace/assets.h"

#include "platform/platform.h"

namespace quillon {

const std::array<const char*, 27> workspaceImageNames = {
    "foldericon.gif",          "Tabs.jpg",
    "TabsBK.jpg",              "classicon.gif",
    "structicon.gif",          "enumicon.gif",
    "functionicon_public.gif", "functionicon_private.gif",
    "membericon_public.gif",   "membericon_private.gif",
    "I.gif",                   "L.gif",
    "T.gif",                   "htmlicon.gif",
    "Lminus.gif",              "Lplus.gif",
    "Tminus.gif",              "Tplus.gif",
    "white.gif",               "openfoldericon.gif",
    "ZADide.gif",              "HeaderTab_01.jpg",
    "HeaderTab_02.jpg",        "HeaderTab_03.jpg",
    "HeaderTab_04.jpg",        "HeaderTab_05.jpg",
    "HeaderTab_06.jpg",
};

void copyWorkspaceImages(const std::string& sourceDirectory, const std::string& targetDirectory) {
  const std::string images = platform::joinPath(targetDirectory, "Images");
  platform::createDirectory(images);
  // The generated tree lines write "images/"; on a file system that minds letter case
  // that spelling must reach the folder too.
  platform::createDirectoryAlias(images, "images");
  for (const char* name : workspaceImageNames)
    copyWorkspaceImage(sourceDirectory, targetDirectory, name);
}

void copyWorkspaceImage(const std::string& sourceDirectory, const std::string& targetDirectory,
                        const std::string& name) {
  const std::string from = platform::joinPath(platform::joinPath(sourceDirectory, "Images"), name);
  const std::string to = platform::joinPath(platform::joinPath(targetDirectory, "Images"), name);
  platform::copyFileReplacing(from, to);
}

void removeOtherFiles(const std::string& folder, const std::unordered_set<std::string>& written) {
  std::vector<std::string> files, folders;
  if (!platform::listDirectory(folder, &files, &folders)) return;
  for (const std::string& name : files)
    if (!written.count(name)) platform::removeFile(platform::joinPath(folder, name));
}

}  // namespace quillon
