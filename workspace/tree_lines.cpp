#include "workspace/tree_lines.h"

#include <memory>
#include <unordered_map>

#include "engine/file_kinds.h"
#include "engine/html_text.h"
#include "workspace/page_names.h"
#include "workspace/project_model.h"

namespace quillon {

namespace {

void folderBlock(ProjectModel& project, const std::vector<std::string>& files,
                 const char* name, int number, bool lastNode) {
  if (files.empty()) return;
  std::vector<std::string>& lines = project.sourceTreeLines;
  folderHeaderLines(lines, name, number, lastNode);
  for (size_t i = 0; i < files.size(); ++i) {
    // A file name must not leave its attribute, tag or script string.
    const ListedName named = listedNameOf(project, files[i]);
    lines.push_back(treeLeafLine("htmlicon.gif", fileItemLink(files[i], named),
                                 scriptString(named.shown), elementText(named.shown),
                                 i + 1 == files.size(), lastNode));
  }
  lines.push_back("\t\t\t</div>\n");
}

/// A folder of the tree read from disk, with its folders and files in tree order.
struct DiskFolder {
  std::string path;  ///< relative to the workspace's folder, "\\" between names
  std::vector<std::unique_ptr<DiskFolder>> folders;
  std::unordered_map<std::string, DiskFolder*> byName;
  std::vector<const std::string*> files;

  DiskFolder& folder(const std::string& name) {
    auto found = byName.find(name);
    if (found != byName.end()) return *found->second;
    folders.push_back(std::make_unique<DiskFolder>());
    folders.back()->path = path.empty() ? name : path + "\\" + name;
    return *(byName[name] = folders.back().get());
  }
};

/// The lines of a folder's contents, at the depth that `prefix` draws.
void diskFolderLines(ProjectModel& project, const DiskFolder& folder, const std::string& prefix,
                     int& number) {
  std::vector<std::string>& lines = project.sourceTreeLines;
  const size_t count = folder.folders.size() + folder.files.size();
  size_t i = 0;
  for (const auto& sub : folder.folders) {
    const bool last = ++i == count;
    const std::string name = baseName(sub->path);
    folderNodeLines(lines, {attributeUrl(sub->path), attributeText(sub->path), elementText(name), prefix},
                    ++number, last);
    diskFolderLines(project, *sub, prefix + connectorImage(last ? "white.gif" : "I.gif"), number);
    lines.push_back("\t\t\t</div>\n");
  }
  for (const std::string* file : folder.files) {
    const ListedName named = listedNameOf(project, *file);
    lines.push_back(leafLine(prefix, "htmlicon.gif", fileItemLink(*file, named),
                             scriptString(named.shown), elementText(baseName(*file)), ++i == count));
  }
}

}  // namespace

void buildNestedFolderTree(ProjectModel& project, const std::vector<std::string>& files) {
  DiskFolder root;
  for (const std::string& file : files) {
    DiskFolder* folder = &root;
    size_t start = 0;
    for (size_t end; (end = file.find_first_of("\\/", start)) != std::string::npos; start = end + 1)
      folder = &folder->folder(file.substr(start, end - start));
    folder->files.push_back(&file);
  }
  int number = 0;
  diskFolderLines(project, root, "", number);
}

std::string fileItemLink(const std::string& entry, const ListedName& named) {
  // The name is text from outside: a link made of it can only name a file.
  if (named.missing) return blankPageName;
  return fileNameLinkTarget(isImageResource(entry) ? "Images/" + named.page : named.page);
}

bool isImageResource(const std::string& entry) {
  return isResourceFile(entry) && !endsWithIgnoreCase(entry, ".rc") &&
         !endsWithIgnoreCase(entry, ".resx");
}

std::string treeLeafLine(const std::string& icon, const std::string& linkTarget,
                         const std::string& tabText, const std::string& shownText,
                         bool lastItem, bool underLastNode) {
  return leafLine(connectorImage(underLastNode ? "white.gif" : "I.gif"), icon, linkTarget,
                  tabText, shownText, lastItem);
}

std::string connectorImage(const char* image) {
  return std::string("<img src=\"images/") + image + "\" align=\"absmiddle\">";
}

std::string leafLine(const std::string& prefix, const std::string& icon,
                     const std::string& linkTarget, const std::string& tabText,
                     const std::string& shownText, bool lastItem) {
  // The link target, the tab text and the shown text each go into their own place, so a
  // name that holds "Source.cpp" or "SOURCE_FILE" cannot land inside another field.
  std::string line;
  line.reserve(200 + prefix.size() + icon.size() + linkTarget.size() + tabText.size() +
               shownText.size());
  line += "\t\t\t\t<DIV><nobr>";
  line += prefix;
  line += connectorImage(lastItem ? "L.gif" : "T.gif");
  line += "<img src=\"images/";
  line += icon;
  line += "\" align=\"absmiddle\" class=\"tree_icon\" border=0><a HREF=\"";
  line += linkTarget;
  line += "\" target=\"source_frame\" onClick=\"SendTabText('";
  line += tabText;
  line += "');\" class=tree_citem>";
  line += shownText;
  line += "</a></nobr></DIV>";
  return line;
}

void buildFolderTree(ProjectModel& project) {
  const bool noHeaders = project.headerFiles.empty();
  const bool noResources = project.resourceFiles.empty();
  folderBlock(project, project.sourceFiles, "Source Files", 1, noHeaders && noResources);
  folderBlock(project, project.headerFiles, "Header Files", 2, noResources);
  folderBlock(project, project.resourceFiles, "Resource Files", 3, true);
}

void folderHeaderLines(std::vector<std::string>& lines, const std::string& name, int number,
                       bool lastNode) {
  folderNodeLines(lines, {name, name, name, ""}, number, lastNode);
}

void folderNodeLines(std::vector<std::string>& lines, const FolderNode& node, int number,
                     bool lastNode) {
  const std::string id = "Folder" + std::to_string(number);
  lines.push_back("\t\t\t<div ID=\"" + id + "\" class=\"tree_parent\">");
  lines.push_back("\t\t\t\t<nobr>" + node.prefix + "<a name=\"" + id + "a\" href=\"#" +
                  node.fragment + "\" onClick=\"tree_iconclick('" + id + "')\"><img name=\"" + id +
                  "_o\" src=\"images/" + (lastNode ? "Lplus.gif" : "Tplus.gif") +
                  "\" align=\"absmiddle\" border=\"0\"><img src=\"images/foldericon.gif\" "
                  "class=\"tree_icon\" align=\"absmiddle\" border=\"0\"></a><a name=\"" +
                  node.anchor + "\" HREF=\"#" + node.fragment + "\" ID=\"" + id +
                  "a\" onClick=\"tree_iconclick('" + id + "')\" class=\"tree_pitem\">" +
                  node.shown + "</a></nobr>");
  lines.push_back("\t\t\t</div>\n");
  lines.push_back("\t\t\t<div ID=\"" + id + "Child\" CLASS=\"tree_child\">");
}

}  // namespace quillon
